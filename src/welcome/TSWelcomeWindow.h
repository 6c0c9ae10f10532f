#pragma once

#include <QWidget>

class QGridLayout;
class QListWidget;

/// The start window: a new document, opening a document, the recent documents and the skeleton
/// templates that ship with the editor, each shown with a preview.
class TSWelcomeWindow : public QWidget
{
    Q_OBJECT

public:
    /// projectsFolder holds one document and one preview picture per template.
    explicit TSWelcomeWindow(const QString& projectsFolder, QWidget* parent = nullptr);

    /// Rebuilds the list of recent documents from the user settings (existing files only).
    void refreshRecentFiles();
    QListWidget* recentList() const { return m_recent; }

Q_SIGNALS:
    void newFileRequested();
    void openRequested();
    void loadFromFileRequested(const QString& path, bool flag);
    void openAnimationRequested(const QString& name, const QString& path);
    void openTemplateRequested(const QString& name, const QString& path);
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* makeTemplateCard(const QString& name, const QString& document, const QString& preview);
    void fillTemplates();

    QString m_projectsFolder;
    QListWidget* m_recent;
    QGridLayout* m_templates;
};
