#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace cocos2d {
class CCArray;
class CCDictionary;
} // namespace cocos2d

class QLocalServer;
class TSModel;

/// The process-wide owner of every model of the open document: creates models by class name,
/// gives them ids, finds them by id or class, removes them, and saves and loads them.
///
/// While a project is open its files live in a working folder in the base folder (temporary
/// folder + "/" + bundle id, or the user's private fallback); a local server named after the
/// folder tells other running editors that the folder is taken. Saving and opening are done by
/// TSProjectStorage and TSSessionLoader on behalf of the controller.
class TSModelController : public QObject
{
    Q_OBJECT

public:
    using Factory = std::function<TSModel*()>;

    /// Progress of a load: class index (-1 before the first), file number, pass, percent.
    struct LoadProgress
    {
        int classIndex = -1;
        int fileNumber = 0;
        int pass = 0;
        int percent = 0;
    };

    ~TSModelController() override;

    /// The controller, created on first use (as a child of the application object when there is
    /// one, so it goes with it); creation adds a general settings model and a working folder.
    static TSModelController* instance();
    /// Destroys the controller now (the next instance() creates a fresh one).
    static void destroyInstance();

    /// Increments the process-wide id counter and returns it; the first id is 1.
    static unsigned nextId();
    static unsigned currentId();
    static void setCurrentId(unsigned id);

    /// Registers or replaces the factory of a class name; registrations last for the process.
    static void registerClass(const std::string& className, Factory factory);
    static bool isRegistered(const std::string& className);
    /// Registered class names, sorted byte for byte.
    static std::vector<std::string> registeredClasses();

    /// A new model of a registered class (owned by the caller, not yet added), or null.
    TSModel* createModel(const std::string& className) const;
    /// With replaceSame, first removes every model of the class that isSameAs(model); then
    /// appends and retains the model and enters its id.
    void addModel(TSModel* model, bool replaceSame);
    void removeModel(TSModel* model);
    /// Takes every model of the class out, each through its removeFromController().
    void removeModelsOfClass(const std::string& className);
    TSModel* modelWithId(unsigned id) const;
    /// The controller's own array of the class, or null when the class has no models.
    cocos2d::CCArray* modelsOfClass(const std::string& className) const;
    /// Class names in the order in which the classes first received a model.
    std::vector<std::string> classesWithModels() const;
    /// The first animation model whose name equals name byte for byte.
    TSModel* animationWithName(const std::string& name) const;
    /// Removes every model and adds a fresh general settings model; ids keep growing.
    void reset();

    // Project storage.

    /// The folder that holds the working folders and the temporary archives (TSBaseFolder);
    /// empty while no usable one was found.
    QString baseFolder() const { return m_baseFolder; }
    /// The working folder of the open project; empty while there is none.
    QString workingPath() const { return m_workingPath; }
    /// The path given to the last open, or of the last successful save.
    QString documentPath() const { return m_documentPath; }
    /// Replaces the open project with the document at path; false with the reason in errorString().
    bool openDocument(const QString& path);
    /// Saves the open project to path, replacing an existing file only once the new archive is
    /// complete and verified; false with the reasons in errorString().
    bool saveDocument(const QString& path);
    /// Messages of the last failed operation, the newest first, each ending with ". ".
    QString errorString() const { return m_errorString; }
    void clearError() { m_errorString.clear(); }
    /// Puts a message in front of the error string.
    void prependError(const QString& message) { m_errorString.prepend(message); }

    /// Loads the project in working folder name of the base folder; an empty name takes the
    /// first folder left behind by another run.
    bool loadWorkingSession(const QString& name);
    /// Folders of the base folder that are not ignored and whose editor does not answer.
    QStringList staleSessions() const;
    /// Removes what editors that no longer run left in the base folder: the working folders
    /// among staleSessions() and the temporary archives whose editor does not answer. Only
    /// names of working folders (UUIDs) are touched.
    void discardStaleSessions();
    /// The folders among staleSessions() that hold unsaved work in a recovery state, or a
    /// recovery state this editor cannot read (RecoveryFolder). discardStaleSessions() leaves
    /// them for the user to decide.
    QStringList recoverableSessions() const;
    /// Makes a fresh working folder, fills it with the recovery state of the working folder name
    /// and loads it; the document path becomes the one the state names (empty for a document
    /// that was never saved). The folder name stays until discardSession(). False with the
    /// reason in errorString(); the folder name is left as it was.
    bool recoverSession(const QString& name);
    /// The temporary archive that the saves of working folder name go through, in the base folder.
    QString temporaryArchivePath(const QString& name) const;
    /// Removes the working folder name and its temporary archive; a folder that cannot be removed
    /// goes on the ignore list, to be tried again when the controller goes.
    void discardSession(const QString& name);
    /// Makes a fresh working folder, private to the user, and puts it in place of the current
    /// one, which is removed only once the new one exists. False when no folder can be made.
    bool createWorkingFolder();
    /// Why the last working folder could not be made.
    QString workingFolderProblem() const { return m_folderProblem; }
    /// Empties the working folder for a new document (name and server stay).
    void recreateWorkingFolder();
    void removeWorkingFolder();
    /// Writes a model's picture to its file in the working folder; true also when the model has
    /// no picture to write. On failure error (when given) says why.
    bool savePixmapToFile(TSModel* model, QString* error = nullptr);
    /// The file in the images folder that savePixmapToFile() last wrote from the picture with
    /// this cache key (QImage::cacheKey()), or empty. Files read from a document do not count:
    /// only a file encoded here holds the bytes an encoding now would give.
    QString writtenPictureFile(qint64 cacheKey) const { return m_writtenPictures.value(cacheKey); }
    /// Notes that the picture with this cache key is now held by fileName in the images folder.
    void notePictureFile(qint64 cacheKey, const QString& fileName)
    {
        m_writtenPictures.insert(cacheKey, fileName);
    }
    /// Folder names whose removal failed; removed again when the controller goes.
    QStringList ignoreList() const { return m_ignoreList; }
    LoadProgress& loadProgress() { return m_loadProgress; }

    /// Formats printf-style into at most 254 characters and writes a debug message.
    static void log(const char* format, ...) __attribute__((format(printf, 1, 2)));

Q_SIGNALS:
    void saveProgress(double progress);

private:
    explicit TSModelController(QObject* parent);
    void removeAllModels();
    void addFreshGeneralSettings();
    QLocalServer* makeWorkingFolder();
    void useWorkingFolder(QLocalServer* server);
    bool listen(const QString& name);
    void closeServer();
    void removeIgnoredFolders();
    bool answers(const QString& name) const;
    bool holdsRecoverableWork(const QString& name) const;

    cocos2d::CCDictionary* m_modelsByClass;
    std::map<unsigned, TSModel*> m_modelsById;
    QString m_baseFolder;
    QString m_folderProblem;
    QString m_workingPath;
    QString m_documentPath;
    QString m_errorString;
    QStringList m_ignoreList;
    QLocalServer* m_server;
    LoadProgress m_loadProgress;
    QHash<qint64, QString> m_writtenPictures;

    static QPointer<TSModelController> s_instance;
};
