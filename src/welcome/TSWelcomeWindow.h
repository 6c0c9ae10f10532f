#pragma once

#include <QWidget>

class QGridLayout;
class QListWidget;
class QToolButton;

/// The start window: a new document, opening a document, the recent documents and the skeleton
/// templates that ship with the editor, each shown with a preview drawn from the template at the
/// screen's pixel ratio.
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
    QToolButton* makeTemplateCard(const QString& name, const QString& document);
    void fillTemplates();
    /// Draws the template previews at the window's pixel ratio, unless they already are.
    void drawPreviews();

    QString m_projectsFolder;
    QListWidget* m_recent;
    QGridLayout* m_templates;
    QList<QPair<QToolButton*, QString>> m_cards; // card, template folder
    qreal m_previewRatio = 0.0;
};
