#pragma once

#include "TSWidgetWindows.h"

#include <QStringList>

class QMenu;

/// The document window base: the five document operations, the recent-files menu (at most ten
/// documents, most recent first) and a close that asks confirmClose() first.
class TSBaseMainWindow : public TSWidgetWindows
{
    Q_OBJECT

public:
    static constexpr int kMaxRecentFiles = 10;

    explicit TSBaseMainWindow(QWidget* parent = nullptr);

    virtual void newDocument() = 0;
    /// Opens a document; false when it was not opened (the user was told why).
    virtual bool openFile(QString path) = 0;
    /// Whether closing may go on (false only when the user cancels).
    virtual bool confirmClose() = 0;
    virtual void save() = 0;
    virtual void saveAs() = 0;

    /// Puts path (native separators) at the front of the recent files.
    void addRecentFile(const QString& path);
    QStringList recentFiles() const;
    QMenu* recentFilesMenu() const { return m_recentMenu; }
    /// Rebuilds "Open Recent", dropping documents that no longer exist.
    void rebuildRecentFilesMenu();
    void clearRecentFiles();

Q_SIGNALS:
    void recentFilesChanged();

protected:
    bool mayClose() override;
    void aboutToClose() override;

private:
    void storeRecentFiles(const QStringList& files);

    QMenu* m_recentMenu;
};
