#include "TSProjectStorage.h"

#include "CCArray.h"
#include "CCDictionary.h"
#include "CCPoolManager.h"
#include "RecoveryFolder.h"
#include "TSBaseFolder.h"
#include "TSModel.h"
#include "TSModelController.h"
#include "TSModelGeneralSettings.h"
#include "TSProjectArchive.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <set>

using namespace cocos2d;

namespace {

const QLatin1String kPixmapPrefix("TSGraphicsPixmapModel_ID");

// The model id in the name of an image model's file ("TSGraphicsPixmapModel_ID12.png"): the
// name without the prefix and the four characters of the suffix, when that is a number.
bool pixmapFileId(const QString& file, unsigned* id)
{
    QString number = file.mid(kPixmapPrefix.size());
    number.chop(QStringLiteral(".png").size());
    bool isNumber = false;
    *id = number.toUInt(&isNumber);
    return isNumber;
}

} // namespace

void TSProjectStorage::fail(const char* logLine, const char* message)
{
    TSModelController::log("%s", logLine);
    m_controller->prependError(QLatin1String(message));
}

bool TSProjectStorage::writePicture(TSModel* model)
{
    QString cause;
    if (m_controller->savePixmapToFile(model, &cause)) {
        return true;
    }
    TSModelController::log("ERROR: failed to write image file %s", qPrintable(model->imageFilePath()));
    m_controller->prependError(
        QStringLiteral("Failed to write image file %1: %2. ").arg(model->imageFilePath(), cause));
    return false;
}

bool TSProjectStorage::writeMissingPictures()
{
    // A document without one of its pictures is not a save: the first picture that cannot be
    // written stops it before the archive is made. Without a working folder there is nowhere to
    // write them; writing the model files reports that.
    if (m_controller->workingPath().isEmpty()) {
        return true;
    }
    if (CCArray* sprites = m_controller->modelsOfClass("TSModelSprite")) {
        for (CCObject* obj : *sprites) {
            auto* sprite = static_cast<TSModel*>(obj);
            const QString path = sprite->imageFilePath();
            if (!path.isEmpty() && !QFileInfo(path).isFile()) {
                TSModelController::log("Not Found sprite : %s : saving again", qPrintable(path));
                if (!writePicture(sprite)) {
                    return false;
                }
            }
        }
    }
    reuseWrittenPictures();
    cleanImagesFolder();
    if (CCArray* images = m_controller->modelsOfClass("TSGraphicsPixmapModel")) {
        for (CCObject* obj : *images) {
            auto* image = static_cast<TSModel*>(obj);
            if (!QFileInfo(image->imageFilePath()).isFile() && !writePicture(image)) {
                return false;
            }
        }
    }
    return true;
}

void TSProjectStorage::reuseWrittenPictures()
{
    // The editor makes new image models, with new ids, on every save. A picture that did not
    // change since it was written here, under the id of a model that is gone, takes that file
    // instead of being encoded again: the encoding would give the very same bytes.
    CCArray* images = m_controller->modelsOfClass("TSGraphicsPixmapModel");
    if (!images) {
        return;
    }
    const QDir folder(m_controller->workingPath() + QStringLiteral("/images"));
    for (CCObject* obj : *images) {
        auto* image = static_cast<TSModel*>(obj);
        const QString path = image->imageFilePath();
        const QImage picture = image->pictureForFile();
        if (path.isEmpty() || picture.isNull() || QFileInfo::exists(path)) {
            continue;
        }
        const QString written = m_controller->writtenPictureFile(picture.cacheKey());
        unsigned id = 0;
        if (written.isEmpty() || !pixmapFileId(written, &id) || m_controller->modelWithId(id)) {
            continue;
        }
        if (QFile::rename(folder.filePath(written), path)) {
            m_controller->notePictureFile(picture.cacheKey(), QFileInfo(path).fileName());
        }
    }
}

void TSProjectStorage::cleanImagesFolder()
{
    QDir images(m_controller->workingPath() + QStringLiteral("/images"));
    const QStringList files = images.entryList({kPixmapPrefix + QLatin1Char('*')}, QDir::Files);
    for (const QString& file : files) {
        unsigned id = 0;
        if ((!pixmapFileId(file, &id) || !m_controller->modelWithId(id)) && !images.remove(file)) {
            // Harmless for the document: the picture of no model is carried along unread.
            TSModelController::log("cannot remove unused image %s", qPrintable(images.filePath(file)));
        }
    }
}

bool TSProjectStorage::save(const QString& path)
{
    if (!writeMissingPictures()) {
        return false;
    }
    if (!saveWorkingFiles()) {
        fail("ERROR: failed to save working session", "Failed to save working session. ");
        return false;
    }
    makeWorkingFolderPrivate();
    const QString archive = temporaryArchivePath();
    if (!compressWorkingFolder(archive)) {
        fail("ERROR: failed to compress working files", "Failed to compress working files. ");
        return false;
    }
    QString cause;
    const bool replaced = replaceDocument(archive, path, &cause);
    if (!QFile::remove(archive)) {
        TSModelController::log("cannot remove the temporary archive %s", qPrintable(archive));
    }
    if (!replaced) {
        // The cause goes after the usual text, so callers looking for that still find it.
        m_controller->prependError(cause + QStringLiteral(". "));
        fail("ERROR: failed to copy file to destination", "Failed to copy file to destination. ");
        return false;
    }
    return true;
}

bool TSProjectStorage::replaceDocument(const QString& archivePath, const QString& path, QString* cause)
{
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    if (target.isDir()) {
        *cause = QStringLiteral("%1 is a folder").arg(path);
        return false;
    }
    if (target.exists() && !target.isFile()) {
        *cause = QStringLiteral("%1 is not a regular file").arg(path);
        return false;
    }
    if (!QFileInfo(folder).isDir()) {
        *cause = QStringLiteral("The folder %1 does not exist").arg(folder);
        return false;
    }
    // A document marked read-only stays as it is, even where the folder would let it be replaced.
    if (target.exists() && (!target.isWritable() || !target.permission(QFileDevice::WriteOwner))) {
        *cause = QStringLiteral("The document %1 is read-only").arg(path);
        return false;
    }
    QFile archive(archivePath);
    if (!archive.open(QIODevice::ReadOnly)) {
        *cause = QStringLiteral("Cannot read the temporary archive %1: %2")
                     .arg(archivePath, archive.errorString());
        return false;
    }
    // The new document is written beside the old one and renamed over it in one step, so the
    // old document stays whole until the new one is complete on disk.
    QSaveFile document(path);
    if (!document.open(QIODevice::WriteOnly)) {
        *cause = QFileInfo(folder).isWritable()
                     ? QStringLiteral("Cannot write %1: %2").arg(path, document.errorString())
                     : QStringLiteral("The folder %1 is read-only").arg(folder);
        return false;
    }
    QByteArray buffer;
    buffer.resize(1 << 20);
    for (;;) {
        const qint64 read = archive.read(buffer.data(), buffer.size());
        if (read < 0) {
            *cause = QStringLiteral("Cannot read the temporary archive %1: %2")
                         .arg(archivePath, archive.errorString());
            document.cancelWriting();
            return false;
        }
        if (read == 0) {
            break;
        }
        if (document.write(buffer.constData(), read) != read) {
            break;
        }
    }
    // Write errors (a full disk among them) show up here: commit() refuses a file that was not
    // written completely.
    if (!document.commit()) {
        *cause = QStringLiteral("Cannot write %1: %2").arg(path, document.errorString());
        return false;
    }
    return true;
}

bool TSProjectStorage::checkArchive(const QString& archivePath, const QStringList& entries)
{
    QString problem;
    if (TSProjectArchive::verify(archivePath, entries, &problem)) {
        return true;
    }
    TSModelController::log("ERROR: archive check failed: %s: %s", qPrintable(archivePath),
                           qPrintable(problem));
    m_controller->prependError(QStringLiteral("The new archive failed its check: %1. ").arg(problem));
    return false;
}

QString TSProjectStorage::temporaryArchivePath() const
{
    return m_controller->temporaryArchivePath(QFileInfo(m_controller->workingPath()).fileName());
}

void TSProjectStorage::noteLastId()
{
    if (TSModelGeneralSettings* settings = TSModelGeneralSettings::current()) {
        settings->setLastIdNumber(TSModelController::currentId());
    }
}

QString TSProjectStorage::modelFileName(const std::string& className, unsigned number, int pass)
{
    return QString::fromStdString(className) + QLatin1Char('.') + QString::number(number) +
           (pass == 0 ? QStringLiteral(".attributes.xml") : QStringLiteral(".connections.xml"));
}

bool TSProjectStorage::saveWorkingFiles()
{
    const QString working = m_controller->workingPath();
    if (working.isEmpty()) {
        fail("ERROR: Working path is empty", "Working path empty. ");
        return false;
    }
    noteLastId();
    QDir folder(working);
    for (const QString& file : folder.entryList({"TSGraphics*.xml", "TSModel*.xml", "main.xml"}, QDir::Files)) {
        folder.remove(file);
    }
    const std::vector<std::string> classes = m_controller->classesWithModels();
    for (size_t i = 0; i < classes.size(); ++i) {
        // Both files of every class must be written: a save with a file missing is not a save.
        const bool attributes = writeDataForClass(classes[i], 0);
        const bool connections = attributes && writeDataForClass(classes[i], 1);
        if (!attributes || !connections) {
            fail("ERROR: failed to write data for class", "Failed to write data for class. ");
            return false;
        }
        Q_EMIT m_controller->saveProgress(0.5 * static_cast<double>(i + 1) / static_cast<double>(classes.size()));
    }
    return true;
}

bool TSProjectStorage::forEachModelFile(const std::string& className, int pass,
                                        const ModelFileVisitor& visit) const
{
    CCArray* models = m_controller->modelsOfClass(className);
    if (!models || models->count() == 0) {
        return true;
    }
    const unsigned count = models->count();
    const unsigned chunk = std::min<unsigned>(kModelsPerFile, count);
    const unsigned files = (count + chunk - 1) / chunk;
    for (unsigned k = 0; k < files; ++k) {
        // The dictionaries of one file go as soon as it is visited: released while they are still
        // in the cache, and their memory is used again for the next file instead of growing the
        // heap by the dictionaries of the whole document.
        CCPoolManager::sharedPoolManager()->push();
        auto* list = CCArray::createWithCapacity(chunk);
        for (unsigned i = k * chunk; i < std::min(count, (k + 1) * chunk); ++i) {
            auto* model = static_cast<TSModel*>(models->objectAtIndex(i));
            list->addObject(pass == 0 ? model->attributesDictionary() : model->connectionsDictionary());
        }
        auto* root = CCDictionary::create();
        root->setObject(list, "ROOT");
        const bool visited = visit(modelFileName(className, k, pass), root);
        CCPoolManager::sharedPoolManager()->pop();
        if (!visited) {
            return false;
        }
    }
    return true;
}

bool TSProjectStorage::writeDataForClass(const std::string& className, int pass)
{
    const QString working = m_controller->workingPath();
    if (working.isEmpty()) {
        fail("ERROR: Working path is empty", "Working path empty. ");
        return false;
    }
    return forEachModelFile(className, pass, [this, &working](const QString& fileName, CCDictionary* root) {
        const QString path = working + QDir::separator() + fileName;
        if (!root->writeToFile(path)) {
            m_controller->prependError(QStringLiteral("Target file : ") + path);
            qWarning("%s", qPrintable(QStringLiteral("ERROR Write to file ") + path +
                                      QStringLiteral(" failed on writeDataForClass( CCString* )")));
            return false;
        }
        TSModelController::log("write: %s", qPrintable(path));
        return true;
    });
}

bool TSProjectStorage::compressWorkingFolder(const QString& archivePath)
{
    const QString working = m_controller->workingPath();
    if (working.isEmpty()) {
        fail("Working path is Empty - Aborting compression", "Working path is Empty. ");
        return false;
    }
    QStringList files = TSProjectArchive::collectFiles(working);
    // The recovery state is the editor's own, kept beside the document's files, never in it.
    const QString recovery = RecoveryFolder::kName + QLatin1Char('/');
    files.erase(std::remove_if(files.begin(), files.end(),
                               [&recovery](const QString& file) { return file.startsWith(recovery); }),
                files.end());
    auto progress = [this](int done, int total) {
        Q_EMIT m_controller->saveProgress(0.5 + 0.5 * static_cast<double>(done) / static_cast<double>(total));
    };
    switch (TSProjectArchive::compress(working, files, archivePath, progress)) {
    case TSProjectArchive::CompressResult::Ok:
        break;
    case TSProjectArchive::CompressResult::NoFiles:
        fail("Number of Working files to be compressed is Zero - Aborting compression", "No Files in working path. ");
        return false;
    case TSProjectArchive::CompressResult::CreateFailed:
        TSModelController::log("ERROR: failed to create archive: %s", qPrintable(archivePath));
        m_controller->prependError(QStringLiteral("Failed to create archive. "));
        return false;
    case TSProjectArchive::CompressResult::InputOpenFailed:
        fail("ERROR: failed to open input file", "Failed to open input file. ");
        return false;
    case TSProjectArchive::CompressResult::EntryOpenFailed:
    case TSProjectArchive::CompressResult::WriteFailed:
        fail("ERROR: failed to open output file", "Failed to open output file. ");
        return false;
    }
    if (!checkArchive(archivePath, files)) {
        QFile::remove(archivePath);
        return false;
    }
    return true;
}

void TSProjectStorage::makeWorkingFolderPrivate()
{
    // Files written by other parts of the editor (sprites, atlases) come with the usual
    // permissions; the folder keeps everything private to the user anyway.
    if (!TSBaseFolder::makePrivate(m_controller->workingPath())) {
        TSModelController::log("cannot make every file private in %s",
                               qPrintable(m_controller->workingPath()));
    }
}

bool TSProjectStorage::extract(const QString& path)
{
    if (m_controller->workingPath().isEmpty()) {
        fail("ERROR: Working path is empty", "Working path empty. ");
        return false;
    }
    const TSProjectArchive::ExtractResult result = TSProjectArchive::extract(path, m_controller->workingPath());
    if (!result.opened) {
        if (result.fileMissing) {
            m_controller->prependError(QStringLiteral("File does not exist. "));
        } else {
            static const std::set<int> broken = {-100, -102, -103, -105};
            m_controller->prependError(broken.count(result.errorCode) ? QStringLiteral("Project file broken. ")
                                                                      : QStringLiteral("Unknown file error. "));
        }
        return false;
    }
    if (result.tooLarge) {
        if (result.oversizedEntry.isEmpty()) {
            TSModelController::log("[TSModelController] archive too large");
        } else {
            TSModelController::log("[TSModelController] archive entry too large: %s",
                                   qPrintable(result.oversizedEntry));
        }
        m_controller->prependError(QStringLiteral("Project file too large. "));
        return false;
    }
    for (const QString& target : result.skippedTargets) {
        TSModelController::log("fileOpenError: %s", qPrintable(target));
    }
    makeWorkingFolderPrivate();
    return true;
}
