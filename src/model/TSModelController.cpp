#include "TSModelController.h"

#include "CCArray.h"
#include "CCDictionary.h"
#include "RecoveryFolder.h"
#include "TSBaseFolder.h"
#include "TSModel.h"
#include "TSModelGeneralSettings.h"

#include "TSProjectStorage.h"
#include "TSSessionLoader.h"

#include "AppInfo.h"
#include "CCPoolManager.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSaveFile>
#include <QSettings>
#include <QUuid>

#include <cstdarg>
#include <cstdio>
#include <memory>

using namespace cocos2d;

namespace {

// Process-wide: the id counter survives reset() and restarts when the controller is destroyed.
unsigned s_idCounter = 0;

const char* const kIgnoreListKey = "ignoreList";
const char* const kSubfolders[] = {"images", "atlases", "fonts", "sounds", "animations"};

std::map<std::string, TSModelController::Factory>& registry()
{
    static std::map<std::string, TSModelController::Factory> classes = {
        {"TSModelGeneralSettings", [] { return static_cast<TSModel*>(new TSModelGeneralSettings()); }},
    };
    return classes;
}

} // namespace

QPointer<TSModelController> TSModelController::s_instance;

TSModelController::TSModelController(QObject* parent)
    : QObject(parent), m_modelsByClass(new CCDictionary()), m_server(new QLocalServer(this))
{
    m_ignoreList = QSettings().value(kIgnoreListKey).toStringList();
    // Folders left behind by other runs stay where they are; this editor always gets a fresh
    // folder of its own, so a new project can be saved at once.
    if (!createWorkingFolder()) {
        qWarning("[TSModelController] no working folder: %s", qPrintable(m_folderProblem));
    }
}

TSModelController::~TSModelController()
{
    removeWorkingFolder();
    removeIgnoredFolders();
    removeAllModels();
    m_modelsByClass->release();
    s_idCounter = 0;
}

TSModelController* TSModelController::instance()
{
    if (!s_instance) {
        s_instance = new TSModelController(QCoreApplication::instance());
        s_instance->addFreshGeneralSettings();
    }
    return s_instance;
}

void TSModelController::destroyInstance()
{
    delete s_instance.data();
    s_idCounter = 0;
}

unsigned TSModelController::nextId()
{
    return ++s_idCounter;
}

unsigned TSModelController::currentId()
{
    return s_idCounter;
}

void TSModelController::setCurrentId(unsigned id)
{
    s_idCounter = id;
}

void TSModelController::registerClass(const std::string& className, Factory factory)
{
    registry()[className] = std::move(factory);
}

bool TSModelController::isRegistered(const std::string& className)
{
    return registry().count(className) > 0;
}

std::vector<std::string> TSModelController::registeredClasses()
{
    std::vector<std::string> names;
    for (const auto& entry : registry()) {
        names.push_back(entry.first);
    }
    return names;
}

TSModel* TSModelController::createModel(const std::string& className) const
{
    const auto it = registry().find(className);
    return it == registry().end() ? nullptr : it->second();
}

void TSModelController::addModel(TSModel* model, bool replaceSame)
{
    if (!model) {
        return;
    }
    model->retain();
    if (replaceSame) {
        if (CCArray* models = modelsOfClass(model->className())) {
            for (unsigned i = models->count(); i-- > 0;) {
                auto* other = static_cast<TSModel*>(models->objectAtIndex(i));
                if (other->isSameAs(model)) {
                    removeModel(other);
                }
            }
        }
    }
    CCArray* models = modelsOfClass(model->className());
    if (!models) {
        // Owned by the dictionary alone: an autoreleased array would also sit in whatever pool
        // is current, and outside a document operation that pool is never drained, so every
        // reset() would leave the array and the models it held behind.
        models = new CCArray();
        m_modelsByClass->setObject(models, model->className());
        models->release();
    }
    models->addObject(model);
    m_modelsById[model->id()] = model;
    model->release();
}

void TSModelController::removeModel(TSModel* model)
{
    if (!model) {
        return;
    }
    const auto it = m_modelsById.find(model->id());
    if (it != m_modelsById.end() && it->second == model) {
        m_modelsById.erase(it);
    }
    if (CCArray* models = modelsOfClass(model->className())) {
        models->removeObject(model);
    }
}

void TSModelController::removeModelsOfClass(const std::string& className)
{
    CCArray* models = modelsOfClass(className);
    if (!models) {
        return;
    }
    models->retain();
    while (models->count() > 0) {
        auto* model = static_cast<TSModel*>(models->objectAtIndex(0));
        model->retain();
        model->removeFromController();
        models->removeObject(model);
        const auto it = m_modelsById.find(model->id());
        if (it != m_modelsById.end() && it->second == model) {
            m_modelsById.erase(it);
        }
        model->release();
    }
    models->release();
}

TSModel* TSModelController::modelWithId(unsigned id) const
{
    const auto it = m_modelsById.find(id);
    return it == m_modelsById.end() ? nullptr : it->second;
}

CCArray* TSModelController::modelsOfClass(const std::string& className) const
{
    return m_modelsByClass->objectForKeyAs<CCArray>(className);
}

std::vector<std::string> TSModelController::classesWithModels() const
{
    std::vector<std::string> names;
    for (const auto& element : m_modelsByClass->elements()) {
        names.push_back(element.strKey);
    }
    return names;
}

TSModel* TSModelController::animationWithName(const std::string& name) const
{
    if (CCArray* animations = modelsOfClass("TSModelSkeletonAnimation")) {
        for (CCObject* obj : *animations) {
            auto* model = static_cast<TSModel*>(obj);
            if (model->name() == name) {
                return model;
            }
        }
    }
    return nullptr;
}

void TSModelController::removeAllModels()
{
    m_modelsById.clear();
    m_modelsByClass->removeAllObjects();
}

void TSModelController::addFreshGeneralSettings()
{
    auto* settings = new TSModelGeneralSettings();
    addModel(settings, true);
    settings->release();
}

void TSModelController::reset()
{
    m_loadProgress = LoadProgress();
    removeAllModels();
    addFreshGeneralSettings();
}

bool TSModelController::listen(const QString& name)
{
    if (m_server->isListening() && m_server->serverName() == name) {
        return true;
    }
    m_server->close();
    // A socket file left by a crashed editor would make listening fail.
    QLocalServer::removeServer(name);
    return m_server->listen(name);
}

void TSModelController::closeServer()
{
    m_server->close();
}

QLocalServer* TSModelController::makeWorkingFolder()
{
    QString problem;
    const QString base = TSBaseFolder::choose(&problem);
    if (base.isEmpty()) {
        m_folderProblem = problem;
        return nullptr;
    }
    if (base != m_baseFolder && base != TSBaseFolder::preferredPath()) {
        qWarning("[TSModelController] %s; working folders go to %s", qPrintable(problem), qPrintable(base));
    }
    m_baseFolder = base;
    const QString name = QUuid::createUuid().toString(QUuid::WithoutBraces);
    // The folder is marked as taken before it exists, so that no other editor's clean-up can
    // take it for one left behind.
    auto server = std::make_unique<QLocalServer>();
    if (!server->listen(name)) {
        m_folderProblem = QStringLiteral("cannot mark %1 as in use: %2").arg(name, server->errorString());
        return nullptr;
    }
    const QString path = base + QLatin1Char('/') + name;
    bool made = QDir(base).mkdir(name);
    for (const char* subfolder : kSubfolders) {
        made = made && QDir(path).mkdir(QLatin1String(subfolder));
    }
    if (!made || !TSBaseFolder::makePrivate(path)) {
        QDir(path).removeRecursively();
        m_folderProblem = QStringLiteral("cannot create %1").arg(path);
        return nullptr;
    }
    server->setParent(this);
    return server.release();
}

void TSModelController::useWorkingFolder(QLocalServer* server)
{
    removeWorkingFolder();
    delete m_server;
    m_server = server;
    m_workingPath = m_baseFolder + QLatin1Char('/') + server->serverName();
    m_writtenPictures.clear();
    log("Working Path: %s", qPrintable(m_workingPath));
}

bool TSModelController::createWorkingFolder()
{
    QLocalServer* server = makeWorkingFolder();
    if (!server) {
        log("ERROR: cannot create a working folder: %s", qPrintable(m_folderProblem));
        return false;
    }
    useWorkingFolder(server);
    return true;
}

void TSModelController::recreateWorkingFolder()
{
    if (m_workingPath.isEmpty()) {
        return;
    }
    m_writtenPictures.clear();
    bool made = QDir(m_workingPath).removeRecursively() && QDir().mkpath(m_workingPath);
    const QDir folder(m_workingPath);
    for (const char* subfolder : kSubfolders) {
        made = made && folder.mkdir(QLatin1String(subfolder));
    }
    if (!made || !TSBaseFolder::makePrivate(m_workingPath)) {
        log("ERROR: cannot empty the working folder %s", qPrintable(m_workingPath));
    }
}

void TSModelController::removeWorkingFolder()
{
    if (!m_workingPath.isEmpty() && QFileInfo(m_workingPath).isDir()) {
        if (!QDir(m_workingPath).removeRecursively()) {
            m_ignoreList.append(QFileInfo(m_workingPath).fileName());
        }
    }
    m_workingPath.clear();
    m_writtenPictures.clear();
    closeServer();
}

void TSModelController::removeIgnoredFolders()
{
    m_ignoreList.removeDuplicates();
    if (m_baseFolder.isEmpty()) {
        return;
    }
    const QDir base(m_baseFolder);
    QStringList kept;
    for (const QString& name : qAsConst(m_ignoreList)) {
        // Names whose folder is already gone are dropped too, so the list cannot grow forever.
        if (name.isEmpty() || !base.exists(name)) {
            continue;
        }
        if (!QDir(base.filePath(name)).removeRecursively()) {
            kept.append(name);
        }
    }
    m_ignoreList = kept;
    QSettings().setValue(kIgnoreListKey, m_ignoreList);
}

QStringList TSModelController::staleSessions() const
{
    QStringList stale;
    if (m_baseFolder.isEmpty()) {
        return stale;
    }
    const QStringList folders = QDir(m_baseFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : folders) {
        if (!m_ignoreList.contains(name) && !answers(name)) {
            stale.append(name);
        }
    }
    return stale;
}

bool TSModelController::answers(const QString& name) const
{
    if (m_server->isListening() && m_server->serverName() == name) {
        return true;
    }
    QLocalSocket socket;
    socket.connectToServer(name, QIODevice::ReadWrite);
    if (socket.waitForConnected(500)) {
        socket.disconnectFromServer();
        return true;
    }
    return false;
}

QString TSModelController::temporaryArchivePath(const QString& name) const
{
    return m_baseFolder + QDir::separator() + QStringLiteral("tmp.") +
           (name.isEmpty() ? QString() : name + QLatin1Char('.')) + appInfo(AppInfo::DocumentExtension);
}

void TSModelController::discardStaleSessions()
{
    if (m_baseFolder.isEmpty()) {
        return;
    }
    // Anything else that happens to be in the base folder is none of the editor's business.
    auto isSessionName = [](const QString& name) {
        return name.size() == 36 && !QUuid::fromString(name).isNull();
    };
    for (const QString& name : staleSessions()) {
        if (isSessionName(name) && !holdsRecoverableWork(name)) {
            discardSession(name);
        }
    }
    // Archives whose folder is already gone: a save interrupted after its folder was removed.
    const QString prefix = QStringLiteral("tmp.");
    const QString suffix = QLatin1Char('.') + appInfo(AppInfo::DocumentExtension);
    const QStringList archives =
        QDir(m_baseFolder).entryList({prefix + QLatin1Char('*') + suffix}, QDir::Files);
    for (const QString& archive : archives) {
        const QString name = archive.mid(prefix.size(), archive.size() - prefix.size() - suffix.size());
        if (!isSessionName(name) || m_ignoreList.contains(name) || answers(name)) {
            continue;
        }
        if (holdsRecoverableWork(name)) {
            // The interrupted save's archive is of no use; the folder waits for the user.
            QFile::remove(temporaryArchivePath(name));
        } else {
            discardSession(name);
        }
    }
}

bool TSModelController::holdsRecoverableWork(const QString& name) const
{
    RecoveryManifest manifest;
    switch (RecoveryFolder::read(m_baseFolder + QLatin1Char('/') + name, &manifest)) {
    case RecoveryManifest::Status::Missing:
        return false;
    case RecoveryManifest::Status::Ok:
        return manifest.unsaved;
    case RecoveryManifest::Status::Unusable:
        // Maybe of another version of the editor, which could still read it.
        return true;
    }
    return false;
}

QStringList TSModelController::recoverableSessions() const
{
    QStringList names;
    for (const QString& name : staleSessions()) {
        if (holdsRecoverableWork(name)) {
            names.append(name);
        }
    }
    return names;
}

bool TSModelController::recoverSession(const QString& name)
{
    const QString folder = m_baseFolder + QLatin1Char('/') + name;
    RecoveryManifest manifest;
    QString problem;
    if (m_baseFolder.isEmpty() || name.isEmpty() ||
        RecoveryFolder::read(folder, &manifest, &problem) != RecoveryManifest::Status::Ok) {
        log("[TSModelController] no recovery state in %s: %s", qPrintable(name), qPrintable(problem));
        prependError(QStringLiteral("No recovery state found. "));
        return false;
    }
    if (!createWorkingFolder()) {
        prependError(QStringLiteral("Failed to create working folder. %1. ").arg(m_folderProblem));
        return false;
    }
    if (!RecoveryFolder::restore(folder, manifest, m_workingPath, &problem)) {
        log("[TSModelController] %s", qPrintable(problem));
        prependError(problem + QStringLiteral(". "));
        recreateWorkingFolder();
        return false;
    }
    cocos2d::CCPoolManager::sharedPoolManager()->push();
    const bool loaded = loadWorkingSession(QFileInfo(m_workingPath).fileName());
    cocos2d::CCPoolManager::sharedPoolManager()->pop();
    m_documentPath = manifest.documentPath;
    log("[TSModelController] recovered %s of %s", qPrintable(name), qPrintable(manifest.documentName));
    return loaded;
}

void TSModelController::discardSession(const QString& name)
{
    if (m_baseFolder.isEmpty() || name.isEmpty()) {
        return;
    }
    log("[TSModelController] removing the session left behind in %s", qPrintable(name));
    const QString archive = temporaryArchivePath(name);
    if (QFileInfo::exists(archive) && !QFile::remove(archive)) {
        log("[TSModelController] cannot remove %s", qPrintable(archive));
    }
    const QString folder = m_baseFolder + QLatin1Char('/') + name;
    if (QFileInfo(folder).isDir() && !QDir(folder).removeRecursively() && !m_ignoreList.contains(name)) {
        m_ignoreList.append(name);
    }
}

bool TSModelController::savePixmapToFile(TSModel* model, QString* error)
{
    if (!model) {
        return false;
    }
    const QImage picture = model->pictureForFile();
    if (picture.isNull()) {
        return true;
    }
    const QString path = model->imageFilePath();
    if (path.isEmpty()) {
        if (error) {
            *error = QStringLiteral("there is no working folder");
        }
        return false;
    }
    // Written beside its place and renamed over it, so a failed write never leaves half a picture
    // that the next save would take for a good one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qDebug("%s", qPrintable(QStringLiteral("TSModelController::saveGraphicPixmapToFile - unable to open file (") +
                                path + QStringLiteral(") ") + file.errorString()));
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(picture) || !file.commit()) {
        const QString cause =
            file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
        qDebug("%s", qPrintable(QStringLiteral(
                                    "TSModelController::saveGraphicPixmapToFile - unable to write file (") +
                                path + QStringLiteral(") ") + cause));
        if (error) {
            *error = cause;
        }
        return false;
    }
    notePictureFile(picture.cacheKey(), QFileInfo(path).fileName());
    return true;
}

bool TSModelController::saveDocument(const QString& path)
{
    // Everything autoreleased during the save goes when it ends.
    cocos2d::CCPoolManager::sharedPoolManager()->push();
    const bool saved = TSProjectStorage(this).save(path);
    cocos2d::CCPoolManager::sharedPoolManager()->pop();
    if (saved) {
        m_documentPath = path;
        m_errorString.clear();
    }
    return saved;
}

bool TSModelController::openDocument(const QString& path)
{
    // The fresh folder is made before the current one goes: when it cannot be made, opening
    // stops here, writes nothing, and the open project keeps its folder.
    if (!createWorkingFolder()) {
        prependError(QStringLiteral("Failed to create working folder. %1. ").arg(m_folderProblem));
        return false;
    }
    cocos2d::CCPoolManager::sharedPoolManager()->push();
    m_documentPath = path;
    const bool opened = TSProjectStorage(this).extract(path) &&
                        loadWorkingSession(QFileInfo(m_workingPath).fileName());
    cocos2d::CCPoolManager::sharedPoolManager()->pop();
    return opened;
}

bool TSModelController::loadWorkingSession(const QString& requested)
{
    QString name = requested;
    if (m_baseFolder.isEmpty()) {
        prependError(QStringLiteral("No valid session found. "));
        return false;
    }
    if (name.isEmpty()) {
        const QStringList stale = staleSessions();
        if (stale.isEmpty()) {
            prependError(QStringLiteral("No valid session found. "));
            return false;
        }
        name = stale.first();
    }
    if (m_server->isListening() && m_server->serverName() != name) {
        // Taking over another folder: this editor's own folder goes, as when it closes.
        removeWorkingFolder();
    }
    m_workingPath = m_baseFolder + QLatin1Char('/') + name;
    m_writtenPictures.clear();
    log("Working Path: %s", qPrintable(m_workingPath));
    listen(name);
    reset();
    TSSessionLoader(this).load();
    m_errorString.clear();
    return true;
}

void TSModelController::log(const char* format, ...)
{
    char buffer[255];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    qDebug("%s", buffer);
}
