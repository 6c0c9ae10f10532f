#include "DocumentFlow.h"

#include "AppInfo.h"
#include "DocumentController.h"
#include "HistoryManager.h"
#include "TSApplicationSettings.h"
#include "TSFileDialogs.h"
#include "TSMessageBox.h"
#include "TSModelController.h"
#include "TSProgressWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString kOpenSavePath = QStringLiteral("Paths/OpenSavePath");

} // namespace

DocumentFlow::DocumentFlow(QWidget* window, DocumentController* document, HistoryManager* history)
    : QObject(window), m_window(window), m_document(document), m_history(history)
{
}

QString DocumentFlow::openSavePath()
{
    // The last document chosen, while its folder is still there.
    const QString path = QSettings().value(kOpenSavePath).toString();
    return !path.isEmpty() && QFileInfo(path).absoluteDir().exists() ? path
                                                                      : TSApplicationSettings::documentsFolder();
}

QString DocumentFlow::documentFilter()
{
    return QStringLiteral("%1 Document (*.%2)").arg(appInfo(AppInfo::AppName), appInfo(AppInfo::DocumentExtension));
}

QString DocumentFlow::choose()
{
    const QString path = TSFileDialogs::getOpenFileName(
        m_window, QStringLiteral("Open %1 Document").arg(QApplication::applicationDisplayName()), openSavePath(),
        documentFilter());
    if (!path.isEmpty()) {
        QSettings().setValue(kOpenSavePath, path);
    }
    return path;
}

bool DocumentFlow::checkExists(const QString& path)
{
    if (QFileInfo(path).isFile()) {
        return true;
    }
    TSMessageBox::warning(m_window, QStringLiteral("Error on open"), QStringLiteral("File does not exist. "));
    return false;
}

bool DocumentFlow::settleChanges(const QString& question)
{
    if (!m_document->isModified()) {
        return true;
    }
    const QMessageBox::StandardButton answer =
        TSMessageBox::question(nullptr, QStringLiteral("Project has changes"), question,
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::NoButton);
    // Changes that were not saved after all are not thrown away.
    return answer == QMessageBox::No || (answer == QMessageBox::Yes && save());
}

bool DocumentFlow::load(const QString& path, bool isTemplate)
{
    if (m_saving || !settleChanges(QStringLiteral("Do you want to save your changes to file ?"))) {
        return false;
    }
    if (!isTemplate) {
        QSettings().setValue(kOpenSavePath, path);
    }
    return replaceDocument(
        [this, &path, isTemplate](QString* error) { return m_document->load(path, isTemplate, error); });
}

bool DocumentFlow::recover(const QString& session)
{
    if (m_saving || !settleChanges(QStringLiteral("Do you want to save your changes to file ?"))) {
        return false;
    }
    const bool recovered =
        replaceDocument([this, &session](QString* error) { return m_document->recover(session, error); });
    if (recovered) {
        // Never clean again until saved: undoing every later edit still leaves the recovered ones.
        m_history->resetClean();
    }
    return recovered;
}

bool DocumentFlow::replaceDocument(const std::function<bool(QString* error)>& read)
{
    Q_EMIT aboutToLoad();
    m_history->clear();
    QString error;
    const bool loaded = read(&error);
    if (!loaded) {
        TSMessageBox::warning(m_window, QStringLiteral("Error on open"), error);
    }
    Q_EMIT loadFinished(loaded);
    return loaded;
}

bool DocumentFlow::save()
{
    const QString path = TSModelController::instance()->documentPath();
    if (!path.isEmpty() && !m_document->isTemplate()) {
        return write(path);
    }
    QString chosen = TSFileDialogs::getSaveFileName(
        m_window, QStringLiteral("Save %1 Document").arg(QApplication::applicationDisplayName()), openSavePath(),
        documentFilter());
    if (chosen.isEmpty()) {
        return false;
    }
    // A name typed without a suffix gets ours, so the file opens again from anywhere.
    if (QFileInfo(chosen).suffix().isEmpty()) {
        chosen += QLatin1Char('.') + appInfo(AppInfo::DocumentExtension);
    }
    QSettings().setValue(kOpenSavePath, chosen);
    return write(chosen);
}

bool DocumentFlow::saveAs()
{
    const bool wasTemplate = m_document->isTemplate();
    m_document->setTemplate(true);
    const bool saved = save();
    if (!saved) {
        m_document->setTemplate(wasTemplate);
    }
    return saved;
}

bool DocumentFlow::write(const QString& path)
{
    if (m_saving || path.isEmpty()) {
        return false;
    }
    m_saving = true;
    TSProgressWindow progress(QStringLiteral("Save"), QStringLiteral("Saving project..."), false, m_window);
    progress.show();
    const QMetaObject::Connection reporting =
        connect(TSModelController::instance(), &TSModelController::saveProgress, &progress, [&progress](double p) {
            progress.setProgress(p);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    QString error;
    const bool written = m_document->save(path, &error);
    disconnect(reporting);
    progress.close();
    m_saving = false;
    if (!written) {
        TSMessageBox::warning(m_window, QStringLiteral("Error on save"), error);
        return false;
    }
    m_history->setClean();
    Q_EMIT saved(path);
    return true;
}

bool DocumentFlow::confirmClose()
{
    return !m_saving && settleChanges(QStringLiteral("Do you want to save your changes to file before exit ?"));
}
