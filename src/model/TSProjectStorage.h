#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <string>

namespace cocos2d {
class CCDictionary;
} // namespace cocos2d

class TSModel;
class TSModelController;

/// Saving the open project as a document and unpacking a document into the working folder,
/// on behalf of the model controller (which keeps the error string and the progress signal).
class TSProjectStorage
{
public:
    static constexpr int kModelsPerFile = 500;
    /// Called with the name and the content of each model file; false stops the walk.
    using ModelFileVisitor = std::function<bool(const QString& fileName, cocos2d::CCDictionary* root)>;

    explicit TSProjectStorage(TSModelController* controller) : m_controller(controller) {}

    /// Writes missing pictures, the model files, the archive, and puts the archive at path.
    bool save(const QString& path);
    /// Unpacks the document at path into the (fresh) working folder.
    bool extract(const QString& path);

    /// Writes the model files of every class into the working folder.
    bool saveWorkingFiles();
    /// Writes the attributes (pass 0) or connections (pass 1) files of one class.
    bool writeDataForClass(const std::string& className, int pass);
    /// Hands each attributes (pass 0) or connections (pass 1) file of one class to visit, up to
    /// kModelsPerFile models a file, in class-array order; false when visit refused one.
    bool forEachModelFile(const std::string& className, int pass, const ModelFileVisitor& visit) const;
    /// "<class>.<number>.attributes.xml" (pass 0) or ".connections.xml" (pass 1).
    static QString modelFileName(const std::string& className, unsigned number, int pass);
    /// Stores the id counter in the general settings, so a load continues the ids from there.
    static void noteLastId();
    /// Zips the working folder into archivePath and checks the result.
    bool compressWorkingFolder(const QString& archivePath);
    /// Reads a new archive back: true when it holds exactly entries, all intact; otherwise puts
    /// what the check found in front of the error string.
    bool checkArchive(const QString& archivePath, const QStringList& entries);
    /// The temporary archive of this editor's saves: in the base folder, named after the
    /// working folder so two editors never share it.
    QString temporaryArchivePath() const;

private:
    void fail(const char* logLine, const char* message);
    bool writeMissingPictures();
    bool writePicture(TSModel* model);
    void makeWorkingFolderPrivate();
    void reuseWrittenPictures();
    void cleanImagesFolder();
    /// Puts the archive's bytes at path; on failure cause is a sentence without its full stop.
    bool replaceDocument(const QString& archivePath, const QString& path, QString* cause);

    TSModelController* m_controller;
};
