#include "RecoveryWriter.h"

#include "RecoveryFolder.h"
#include "RecoverySnapshot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>
#include <QUuid>

namespace {

bool writeWhole(const QString& path, const QByteArray& content, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size() ||
        !file.flush()) {
        *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    file.close();
    return true;
}

} // namespace

bool RecoveryWriter::write(const RecoverySnapshot& snapshot, QString* error)
{
    const QString folder = RecoveryFolder::path(snapshot.workingPath);
    // Never makes the working folder itself: one that is gone belongs to a document that was
    // closed meanwhile, and a recovery state there would only be offered by mistake.
    if (snapshot.workingPath.isEmpty() || !QFileInfo(snapshot.workingPath).isDir()) {
        *error = QStringLiteral("The working folder %1 is gone").arg(snapshot.workingPath);
        return false;
    }
    if (!QFileInfo(folder).isDir() && !QDir(snapshot.workingPath).mkdir(RecoveryFolder::kName)) {
        *error = QStringLiteral("Cannot create %1").arg(folder);
        return false;
    }
    const QString name = QStringLiteral("state-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString state = folder + QLatin1Char('/') + name;
    if (!QDir(folder).mkdir(name)) {
        *error = QStringLiteral("Cannot create %1").arg(state);
        return false;
    }
    QHash<qint64, QString> pictures;
    RecoveryManifest named = snapshot.manifest;
    named.stateFolder = name;
    if (!writeFiles(snapshot, state, &pictures, error)) {
        QDir(state).removeRecursively();
        return false;
    }
    QSaveFile file(RecoveryFolder::manifestPath(snapshot.workingPath));
    const QByteArray json = named.toJson();
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit()) {
        *error = QStringLiteral("Cannot write %1: %2").arg(file.fileName(), file.errorString());
        QDir(state).removeRecursively();
        return false;
    }
    m_pictures = pictures;
    // Older states, and what writers cut short left behind, are not named by the manifest any more.
    const QDir recovery(folder);
    for (const QString& other : recovery.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (other != name) {
            QDir(recovery.filePath(other)).removeRecursively();
        }
    }
    return true;
}

bool RecoveryWriter::writeFiles(const RecoverySnapshot& snapshot, const QString& state,
                                QHash<qint64, QString>* pictures, QString* error) const
{
    const QDir folder(state);
    for (const RecoverySnapshot::File& file : snapshot.files) {
        if (!writeWhole(folder.filePath(file.name), file.content, error)) {
            return false;
        }
    }
    for (const RecoverySnapshot::Picture& picture : snapshot.pictures) {
        const QString path = folder.filePath(picture.name);
        if (!folder.mkpath(QFileInfo(picture.name).path())) {
            *error = QStringLiteral("Cannot create the folder of %1").arg(path);
            return false;
        }
        const QString previous = m_pictures.value(picture.image.cacheKey());
        if (previous.isEmpty() || !QFile::copy(previous, path)) {
            QImageWriter writer(path, "png");
            if (!writer.write(picture.image)) {
                *error = QStringLiteral("Cannot write %1: %2").arg(path, writer.errorString());
                return false;
            }
        }
        pictures->insert(picture.image.cacheKey(), path);
    }
    return true;
}
