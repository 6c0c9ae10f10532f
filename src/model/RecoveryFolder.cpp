#include "RecoveryFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

const QLatin1String RecoveryFolder::kName("recovery");

QString RecoveryFolder::path(const QString& workingPath)
{
    return workingPath + QLatin1Char('/') + kName;
}

QString RecoveryFolder::manifestPath(const QString& workingPath)
{
    return path(workingPath) + QStringLiteral("/manifest.json");
}

RecoveryManifest::Status RecoveryFolder::read(const QString& workingPath, RecoveryManifest* manifest,
                                              QString* problem)
{
    QFile file(manifestPath(workingPath));
    if (!file.exists()) {
        return RecoveryManifest::Status::Missing;
    }
    QString reason;
    RecoveryManifest::Status status = RecoveryManifest::Status::Unusable;
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
    } else {
        status = RecoveryManifest::fromJson(file.readAll(), manifest, &reason);
    }
    if (status == RecoveryManifest::Status::Ok &&
        !QFileInfo(path(workingPath) + QLatin1Char('/') + manifest->stateFolder).isDir()) {
        status = RecoveryManifest::Status::Unusable;
        reason = QStringLiteral("the state %1 is missing").arg(manifest->stateFolder);
    }
    if (problem) {
        *problem = reason;
    }
    return status;
}

bool RecoveryFolder::restore(const QString& workingPath, const RecoveryManifest& manifest,
                             const QString& target, QString* error)
{
    const QString state = path(workingPath) + QLatin1Char('/') + manifest.stateFolder;
    const QDir source(state);
    const QDir destination(target);
    QDirIterator it(state, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (it.fileInfo().isSymLink()) {
            continue;
        }
        const QString name = source.relativeFilePath(file);
        const QString copy = destination.filePath(name);
        if (!destination.mkpath(QFileInfo(name).path()) || (QFile::exists(copy) && !QFile::remove(copy)) ||
            !QFile::copy(file, copy)) {
            *error = QStringLiteral("Cannot copy %1 to %2").arg(file, copy);
            return false;
        }
    }
    return true;
}
