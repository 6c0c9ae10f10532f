#include "TSBaseMainWindow.h"

#include "TSApplicationSettings.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

TSBaseMainWindow::TSBaseMainWindow(QWidget* parent)
    : TSWidgetWindows(parent), m_recentMenu(new QMenu(QStringLiteral("Open Recent"), this))
{
    m_recentMenu->setObjectName(QStringLiteral("recentFilesMenu"));
}

QStringList TSBaseMainWindow::recentFiles() const
{
    return TSApplicationSettings::instance()->recentFiles();
}

void TSBaseMainWindow::storeRecentFiles(const QStringList& files)
{
    TSApplicationSettings::instance()->setRecentFiles(files);
    Q_EMIT recentFilesChanged();
}

void TSBaseMainWindow::addRecentFile(const QString& path)
{
    if (path.isEmpty()) {
        return;
    }
    const QString native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    QStringList files = recentFiles();
    files.removeAll(native);
    files.prepend(native);
    while (files.size() > kMaxRecentFiles) {
        files.removeLast();
    }
    storeRecentFiles(files);
    rebuildRecentFilesMenu();
}

void TSBaseMainWindow::clearRecentFiles()
{
    storeRecentFiles({});
    rebuildRecentFilesMenu();
}

void TSBaseMainWindow::rebuildRecentFilesMenu()
{
    m_recentMenu->clear();
    TSApplicationSettings::instance()->load();
    QStringList files = recentFiles();
    bool pruned = false;
    for (const QString& path : QStringList(files)) {
        if (!QFileInfo(QDir::fromNativeSeparators(path)).isFile()) {
            files.removeAll(path);
            pruned = true;
            continue;
        }
        if (!files.contains(path)) {
            continue;
        }
        QAction* action = m_recentMenu->addAction(path);
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] { openFile(QDir::fromNativeSeparators(path)); });
    }
    if (pruned) {
        storeRecentFiles(files);
    }
    if (files.isEmpty()) {
        m_recentMenu->addAction(QStringLiteral("No Recent Files"))->setEnabled(false);
    }
    m_recentMenu->addSeparator();
    connect(m_recentMenu->addAction(QStringLiteral("Clear Recent File List")), &QAction::triggered, this,
            &TSBaseMainWindow::clearRecentFiles);
}

bool TSBaseMainWindow::mayClose()
{
    return confirmClose();
}

void TSBaseMainWindow::aboutToClose()
{
    QSettings().setValue(QStringLiteral("isMainWindowMaximized"), isMaximized());
}
