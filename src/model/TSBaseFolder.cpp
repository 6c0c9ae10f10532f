#include "TSBaseFolder.h"

#include "AppInfo.h"

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

constexpr QFileDevice::Permissions kPrivateFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

bool ownedByThisUser(const QFileInfo& info)
{
#ifdef Q_OS_UNIX
    return info.ownerId() == ::geteuid();
#else
    Q_UNUSED(info)
    return true;
#endif
}

} // namespace

QString TSBaseFolder::preferredPath()
{
    return QDir::tempPath() + QLatin1Char('/') + appInfo(AppInfo::BundleId);
}

QString TSBaseFolder::fallbackPath()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return cache.isEmpty() ? QString() : cache + QStringLiteral("/sessions");
}

bool TSBaseFolder::prepare(const QString& path, QString* problem)
{
    auto fail = [problem, &path](const char* why) {
        if (problem) {
            *problem = QString::fromLatin1(why).arg(path);
        }
        return false;
    };
    QFileInfo info(path);
    // A link could lead the clean-up of left-behind folders into a folder of someone else's.
    if (info.isSymLink()) {
        return fail("%1 is a symbolic link");
    }
    if (!info.exists() && !QDir().mkpath(path)) {
        info.refresh();
        return info.exists() ? fail("%1 is not a folder") : fail("cannot create %1");
    }
    info.refresh();
    if (!info.isDir()) {
        return fail("%1 is not a folder");
    }
    if (!ownedByThisUser(info)) {
        return fail("%1 belongs to another user");
    }
    if (!info.isWritable()) {
        return fail("%1 is not writable");
    }
    if (!QFile::setPermissions(path, kPrivateFolder)) {
        // Some file systems keep no permissions; the folder is still usable.
        qWarning("[TSBaseFolder] cannot make %s private", qPrintable(path));
    }
    return true;
}

QString TSBaseFolder::runtimePath()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QString() : runtime + QLatin1Char('/') + appInfo(AppInfo::BundleId);
}

QString TSBaseFolder::choose(QString* problem)
{
    const QString preferred = preferredPath();
    QString preferredProblem;
    if (prepare(preferred, &preferredProblem)) {
        return preferred;
    }
    QStringList problems(preferredProblem);
    // A home folder that cannot be written takes the cache location with it: the session's
    // runtime folder, which lies outside home, is the last resort.
    const QString fallbacks[] = {fallbackPath(), runtimePath()};
    const QString missing[] = {QStringLiteral("there is no cache folder for this user"),
                               QStringLiteral("there is no runtime folder for this user")};
    for (int i = 0; i < 2; ++i) {
        QString fallbackProblem = missing[i];
        if (!fallbacks[i].isEmpty() && prepare(fallbacks[i], &fallbackProblem)) {
            if (problem) {
                *problem = preferredProblem;
            }
            return fallbacks[i];
        }
        problems << fallbackProblem;
    }
    if (problem) {
        *problem = problems.join(QStringLiteral("; "));
    }
    return QString();
}

bool TSBaseFolder::makePrivate(const QString& path)
{
    bool done = QFile::setPermissions(path, kPrivateFolder);
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        // Permissions of a link are those of what it points to, which is none of this folder's.
        if (!info.isSymLink()) {
            done = QFile::setPermissions(it.filePath(), info.isDir() ? kPrivateFolder : kPrivateFile) && done;
        }
    }
    return done;
}
