// Saving and opening documents: files written, archives, failures and what survives them.
#include "AnimationModelClasses.h"
#include "AnimationPersistence.h"
#include "CCArray.h"
#include "CCDictionary.h"
#include "CCPoolManager.h"
#include "CCString.h"
#include "PlistWriter.h"
#include "TSGraphicsPixmapModel.h"
#include "TSModelController.h"
#include "TSModelGeneralSettings.h"
#include "TSModelSkeleton.h"
#include "TSModelSkeletonNode.h"
#include "TSModelSkeletonNodeAnimation.h"
#include "TSModelSprite.h"
#include "TSModelSpriteContainer.h"
#include "TSPAttributeString.h"
#include "TSProjectArchive.h"
#include "TSProjectStorage.h"

#include "ModelSupport.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QDirIterator>
#include <QLocalServer>
#include <QStandardPaths>
#include <QUuid>
#include <QtTest>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>
#include <zlib.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace cocos2d;
using test::added;
using test::fileBytes;

namespace {

TSModelController* controller()
{
    return TSModelController::instance();
}

QImage picture(int seed)
{
    QImage image(24, 16, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qPremultiply(qRgba((x * 10 + seed) & 255, y * 15, seed & 255, (x + y) % 3 ? 255 : 90)));
        }
    }
    return image;
}

// Every model of the controller, each as its attributes and connections written as text.
QMap<unsigned, QString> snapshot()
{
    QMap<unsigned, QString> models;
    for (const std::string& className : controller()->classesWithModels()) {
        for (CCObject* obj : *controller()->modelsOfClass(className)) {
            auto* model = static_cast<TSModel*>(obj);
            auto* both = CCDictionary::create();
            both->setObject(model->attributesDictionary(), "a");
            both->setObject(model->connectionsDictionary(), "c");
            models.insert(model->id(), QString::fromStdString(PlistWriter::toString(both)));
        }
    }
    return models;
}

// Where working folders go when the one in the temporary folder cannot be used.
QString fallbackFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/sessions";
}

// Folder and everything below it that is not private to its owner (0700 folders, 0600 files).
QStringList notPrivate(const QString& folder)
{
    QStringList paths = {folder};
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        paths << it.next();
    }
    QStringList found;
    for (const QString& path : paths) {
        struct stat info = {};
        const bool isDir = QFileInfo(path).isDir();
        if (::stat(QFile::encodeName(path).constData(), &info) != 0 ||
            (info.st_mode & 0777) != (isDir ? 0700u : 0600u)) {
            found << path;
        }
    }
    return found;
}

// A zip with the given entries, written directly with the zip library (method 0 stores them).
void writeZip(const QString& path, const QList<QPair<QString, QByteArray>>& entries, int method = Z_DEFLATED)
{
    QuaZip zip(path);
    QVERIFY(zip.open(QuaZip::mdCreate));
    for (const auto& [name, bytes] : entries) {
        QuaZipFile entry(&zip);
        QVERIFY(entry.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0, method,
                           method ? Z_DEFAULT_COMPRESSION : 0));
        entry.write(bytes);
        entry.close();
    }
    zip.close();
}

void buildProject()
{
    // A loaded project reports this version; set it so the settings compare equal after a load.
    controller();
    static_cast<TSPAttributeString*>(TSModelGeneralSettings::current()->attributeNamed("IB Version"))->setValue("2.0.0");
    auto* skeleton = added(new TSModelSkeleton());
    skeleton->setSkeletonName("Biped");
    skeleton->setAnimationName("Walk");
    for (int i = 0; i < 3; ++i) {
        NodeRecord node;
        node.name = QStringLiteral("node %1").arg(i);
        node.parent = i ? QStringLiteral("node %1").arg(i - 1) : QString();
        node.position = QPointF(i * 10, -i * 5);
        added(new TSModelSkeletonNode())->fillFrom(node);
    }
    for (int i = 0; i < 2; ++i) {
        TSGraphicsPixmapModel* image =
            TSGraphicsPixmapModel::fromItemState(QPointF(i, 2), i, QTransform().rotate(i * 20), 0, picture(i));
        image->setName("node 1");
        added(image);
    }
    AnimationTracks tracks;
    auto hip = std::make_unique<AnimatedObject>();
    hip->setName("node 0");
    hip->setInUse(true);
    hip->channel(AnimatedObject::Rotation).insertKey(0.5f, 0.25f, true);
    tracks.append(std::move(hip));
    AnimationPersistence::save("model/Walk.json", tracks, QPointF(3, 4));
}

} // namespace

class TestProjectStorage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void freshControllerHasWorkingFolder();
    void unusableBaseFolderFallsBackToAPrivateOne_data();
    void unusableBaseFolderFallsBackToAPrivateOne();
    void openStopsWhenNoWorkingFolderCanBeMade();
    void saveThenOpenReproducesEveryModel();
    void modelFileExampleIsWrittenExactly();
    void modelFilesAreChunkedByFiveHundred();
    void fallbackFileNamesLoad();
    void badModelFilesAreSkipped();
    void failedSaveLeavesPreviousDocumentIntact_data();
    void failedSaveLeavesPreviousDocumentIntact();
    void finalStepFailureSaysWhy_data();
    void finalStepFailureSaysWhy();
    void saveReportsProgressAndRemovesItsTemporaryArchive();
    void archiveEntriesAndVerification();
    void openErrors_data();
    void openErrors();
    void entriesOutsideTheProjectAreSkippedOrKept();
    void unusualNodeNamesSurviveSaveAndOpen();
    void oversizedArchivesAreRefused_data();
    void oversizedArchivesAreRefused();
    void staleSessionsSkipRunningEditorsAndIgnoredFolders();
    void removedWorkingFolderGoesAndDestructionCleansUp();
    void openSaveCyclesKeepObjectCountFlat();
    void unchangedPicturesAreNotEncodedAgain();

private:
    QTemporaryDir m_dir;
};

void TestProjectStorage::initTestCase()
{
    AnimationModelClasses::registerAll();
}

void TestProjectStorage::init()
{
    TSModelController::destroyInstance();
}

void TestProjectStorage::cleanup()
{
    // Undo what the base folder tests did to it, so the next test has a usable one.
    const QString base = QDir::tempPath() + "/com.wrenfold.bonestage";
    if (QFileInfo(base).isFile()) {
        QFile::remove(base);
    } else if (QFileInfo(base).isDir()) {
        QVERIFY(::chown(QFile::encodeName(base).constData(), ::geteuid(), ::getegid()) == 0 ||
                ::geteuid() != 0);
        QFile::setPermissions(base, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    QFile::remove(fallbackFolder());
}

void TestProjectStorage::freshControllerHasWorkingFolder()
{
    // Folders of other runs do not stop this editor from getting its own.
    const QString stale = controller()->baseFolder() + "/0f8fad5b-d9cb-469f-a165-70867728950e";
    QVERIFY(QDir().mkpath(stale));
    const QString working = controller()->workingPath();
    QVERIFY(!working.isEmpty());
    QCOMPARE(QFileInfo(working).path(), controller()->baseFolder());
    QCOMPARE(QFileInfo(working).fileName().size(), 36);
    for (const char* sub : {"images", "atlases", "fonts", "sounds", "animations"}) {
        QVERIFY(QFileInfo(working + "/" + sub).isDir());
    }
    QVERIFY(controller()->staleSessions().contains(QFileInfo(stale).fileName()));
    QVERIFY(!controller()->staleSessions().contains(QFileInfo(working).fileName()));
    QDir(stale).removeRecursively();
}

void TestProjectStorage::unusableBaseFolderFallsBackToAPrivateOne_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a file") << "file";
    QTest::newRow("another user's folder") << "foreign";
    QTest::newRow("a read-only folder") << "read-only";
}

void TestProjectStorage::unusableBaseFolderFallsBackToAPrivateOne()
{
    QFETCH(QString, kind);
    added(new TSModelSkeletonNode())->setName("saved");
    const QString document = m_dir.filePath("fallback.bsdoc");
    QVERIFY(controller()->saveDocument(document));
    TSModelController::destroyInstance();

    const QString base = QDir::tempPath() + "/com.wrenfold.bonestage";
    // A folder another editor left behind, with a project of its own.
    const QString leftover = base + "/0f8fad5b-d9cb-469f-a165-70867728950e";
    QVERIFY(QDir().mkpath(leftover));
    QVERIFY(test::writeFile(
        leftover + "/TSModelSkeletonNode.0.attributes.xml",
        "<plist><dict><key>ROOT</key><array><dict><key>id</key><string>3</string><key>className</key>"
        "<string>TSModelSkeletonNode</string></dict><dict><key>id</key><string>4</string>"
        "<key>className</key><string>TSModelSkeletonNode</string></dict></array></dict></plist>"));
    if (kind == "file") {
        QVERIFY(QDir(base).removeRecursively());
        QVERIFY(test::writeFile(base, "in the way"));
    } else if (kind == "foreign") {
        if (::geteuid() != 0) {
            QSKIP("only the superuser can give a folder to another user");
        }
        QVERIFY(::chown(QFile::encodeName(base).constData(), 65534, 65534) == 0);
    } else {
        if (::geteuid() == 0) {
            QSKIP("permission bits do not stop the superuser from writing");
        }
        QVERIFY(QFile::setPermissions(base, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }

    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression("^\\[TSModelController\\] " + QRegularExpression::escape(base) +
                                            " .*; working folders go to " +
                                            QRegularExpression::escape(fallbackFolder()) + "$"));
    QVERIFY2(controller()->openDocument(document), qPrintable(controller()->errorString()));
    const QString working = controller()->workingPath();
    QCOMPARE(QFileInfo(working).path(), fallbackFolder());
    CCArray* nodes = controller()->modelsOfClass(TSModelSkeletonNode::kClassName);
    QCOMPARE(nodes ? nodes->count() : 0u, 1u);
    QCOMPARE(static_cast<TSModel*>(nodes->objectAtIndex(0))->name(), std::string("saved"));
    QCOMPARE(notPrivate(working), QStringList());
    buildProject();
    QVERIFY(controller()->saveDocument(document));
    QCOMPARE(notPrivate(working), QStringList());
    QVERIFY(QFileInfo::exists(leftover + "/TSModelSkeletonNode.0.attributes.xml") || kind == "file");
}

void TestProjectStorage::openStopsWhenNoWorkingFolderCanBeMade()
{
    // A document whose one entry is easy to look for wherever it might land.
    const QString stray = "stray-" + QUuid::createUuid().toString(QUuid::WithoutBraces) + ".xml";
    const QString document = m_dir.filePath("stray.bsdoc");
    writeZip(document, {{stray, "<plist/>"}});
    TSModelController::destroyInstance();
    const QString base = QDir::tempPath() + "/com.wrenfold.bonestage";
    QVERIFY(QDir(base).removeRecursively());
    QVERIFY(test::writeFile(base, "in the way"));
    QDir(fallbackFolder()).removeRecursively();
    QVERIFY(QDir().mkpath(QFileInfo(fallbackFolder()).path()));
    QVERIFY(test::writeFile(fallbackFolder(), "in the way too"));
    const QString runtime =
        QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/com.wrenfold.bonestage";
    QDir(runtime).removeRecursively();
    QVERIFY(test::writeFile(runtime, "in the way as well"));

    added(new TSModelSkeletonNode());
    QVERIFY(controller()->workingPath().isEmpty());
    QVERIFY(!controller()->openDocument(document));
    const QStringList landed = {"/" + stray, QDir::current().filePath(stray)};
    for (const QString& path : landed) {
        const bool written = QFileInfo::exists(path);
        QFile::remove(path);
        QVERIFY2(!written, qPrintable(path));
    }
    QVERIFY2(controller()->errorString().startsWith("Failed to create working folder. " + base +
                                                    " is not a folder"),
             qPrintable(controller()->errorString()));
    QVERIFY(controller()->workingPath().isEmpty());
    QCOMPARE(controller()->modelsOfClass(TSModelSkeletonNode::kClassName)->count(), 1u);
    QVERIFY(QFile::remove(runtime));
}

void TestProjectStorage::saveThenOpenReproducesEveryModel()
{
    buildProject();
    const unsigned highest = TSModelController::currentId();
    const QString document = m_dir.filePath("project.bsdoc");
    QVERIFY2(controller()->saveDocument(document), qPrintable(controller()->errorString()));
    const QMap<unsigned, QString> before = snapshot();
    QCOMPARE(controller()->documentPath(), document);
    QCOMPARE(controller()->errorString(), QString());

    TSModelController::destroyInstance();
    QVERIFY2(controller()->openDocument(document), qPrintable(controller()->errorString()));
    QCOMPARE(controller()->documentPath(), document);
    const QMap<unsigned, QString> after = snapshot();
    QCOMPARE(after.keys(), before.keys());
    for (unsigned id : before.keys()) {
        QCOMPARE(after.value(id), before.value(id));
    }
    CCArray* images = controller()->modelsOfClass(TSGraphicsPixmapModel::kClassName);
    QCOMPARE(images->count(), 2u);
    for (unsigned i = 0; i < 2; ++i) {
        auto* image = static_cast<TSGraphicsPixmapModel*>(images->objectAtIndex(i));
        QCOMPARE(image->image().convertToFormat(QImage::Format_ARGB32_Premultiplied), picture(static_cast<int>(i)));
    }
    AnimationTracks tracks;
    QVERIFY(AnimationPersistence::load("model/Walk.json", &tracks));
    QCOMPARE(tracks.at(0)->channel(AnimatedObject::Rotation).evaluate(0.25f), 0.5f);
    // New ids continue after the loaded ones.
    QVERIFY(added(new TSModelSkeletonNode())->id() > highest);
    QCOMPARE(TSModelGeneralSettings::current()->lastIdNumber(), highest);
}

void TestProjectStorage::modelFileExampleIsWrittenExactly()
{
    controller()->reset();
    auto* animation = new TSModel("TSModelSkeletonAnimation", "walk");
    animation->setId(7);
    added(animation);
    QVERIFY(TSProjectStorage(controller()).writeDataForClass("TSModelSkeletonAnimation", 0));
    QVERIFY(TSProjectStorage(controller()).writeDataForClass("TSModelSkeletonAnimation", 1));
    const QString folder = controller()->workingPath();
    const QByteArray header = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                              "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                              "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                              "<plist version=\"1.0\">\n    <dict>\n        <key>ROOT</key>\n        <array>\n"
                              "            <dict>\n                <key>id</key>\n                <string>7</string>\n";
    const QByteArray footer = "            </dict>\n        </array>\n    </dict>\n</plist>\n";
    QCOMPARE(fileBytes(folder + "/TSModelSkeletonAnimation.0.attributes.xml"),
             header +
                 "                <key>className</key>\n                <string>TSModelSkeletonAnimation</string>\n"
                 "                <key>Name</key>\n                <dict>\n                    <key>value</key>\n"
                 "                    <string>walk</string>\n                </dict>\n" +
                 footer);
    QCOMPARE(fileBytes(folder + "/TSModelSkeletonAnimation.0.connections.xml"), header + footer);
}

void TestProjectStorage::modelFilesAreChunkedByFiveHundred()
{
    for (int i = 0; i < 1200; ++i) {
        added(new TSModelSkeletonNode());
    }
    for (int i = 0; i < 500; ++i) {
        added(new TSModelSkeletonNodeAnimation());
    }
    QVERIFY(controller()->saveDocument(m_dir.filePath("many.bsdoc")));
    const QString folder = controller()->workingPath();
    auto countIn = [](const QString& path) {
        CCDictionary* root = CCDictionary::createWithContentsOfFile(path);
        return root ? static_cast<int>(root->objectForKeyAs<CCArray>("ROOT")->count()) : -1;
    };
    QCOMPARE(countIn(folder + "/TSModelSkeletonNode.0.attributes.xml"), 500);
    QCOMPARE(countIn(folder + "/TSModelSkeletonNode.1.attributes.xml"), 500);
    QCOMPARE(countIn(folder + "/TSModelSkeletonNode.2.attributes.xml"), 200);
    QCOMPARE(countIn(folder + "/TSModelSkeletonNode.2.connections.xml"), 200);
    QVERIFY(!QFileInfo::exists(folder + "/TSModelSkeletonNode.3.attributes.xml"));
    QCOMPARE(countIn(folder + "/TSModelSkeletonNodeAnimation.0.attributes.xml"), 500);
    QVERIFY(!QFileInfo::exists(folder + "/TSModelSkeletonNodeAnimation.1.attributes.xml"));

    TSModelController::destroyInstance();
    QVERIFY(controller()->openDocument(m_dir.filePath("many.bsdoc")));
    QCOMPARE(controller()->modelsOfClass(TSModelSkeletonNode::kClassName)->count(), 1200u);

    // Reading stops at the first missing file number.
    QVERIFY(QFile::remove(controller()->workingPath() + "/TSModelSkeletonNode.1.attributes.xml"));
    QVERIFY(controller()->loadWorkingSession(QFileInfo(controller()->workingPath()).fileName()));
    QCOMPARE(controller()->modelsOfClass(TSModelSkeletonNode::kClassName)->count(), 500u);
}

void TestProjectStorage::fallbackFileNamesLoad()
{
    // A folder whose files carry no pass suffix: the same file serves both passes.
    auto* container = added(new TSModelSpriteContainer());
    auto* sprite = added(new TSModelSprite());
    container->appendSprite(sprite);
    const unsigned containerId = container->id();
    QVERIFY(TSProjectStorage(controller()).saveWorkingFiles());
    const QDir folder(controller()->workingPath());
    for (const QString& file : folder.entryList({"*.attributes.xml"}, QDir::Files)) {
        QString plain = file;
        plain.replace(".attributes.xml", ".xml");
        QVERIFY(QFile::rename(folder.filePath(file), folder.filePath(plain)));
    }
    for (const QString& file : folder.entryList({"*.connections.xml"}, QDir::Files)) {
        QVERIFY(QFile::remove(folder.filePath(file)));
    }
    const QString name = QFileInfo(controller()->workingPath()).fileName();
    controller()->reset();
    QVERIFY(controller()->loadWorkingSession(name));
    auto* loaded = dynamic_cast<TSModelSpriteContainer*>(controller()->modelWithId(containerId));
    QVERIFY(loaded);
    QCOMPARE(loaded->spriteCount(), 1);
}

void TestProjectStorage::badModelFilesAreSkipped()
{
    const QString folder = controller()->workingPath();
    QVERIFY(test::writeFile(folder + "/TSModelSkeleton.0.attributes.xml",
                            "<plist><dict><key>ROOT</key><array>"
                            "<dict><key>id</key><string>4</string></dict>"
                            "<dict><key>id</key><string>5</string><key>className</key>"
                            "<string>TSModelSkeleton</string></dict>"
                            "<dict><key>className</key><string>NoSuchClass</string></dict>"
                            "<string>not a model</string>"
                            "</array></dict></plist>"));
    QVERIFY(test::writeFile(folder + "/TSModelSkeleton.0.connections.xml",
                            "<plist><dict><key>ROOT</key><array><dict><key>id</key><string>77</string></dict>"
                            "<dict><key>id</key><string>5</string></dict></array></dict></plist>"));
    QVERIFY(test::writeFile(folder + "/TSModelSkeletonNode.0.attributes.xml",
                            "<plist><dict><key>ROOT</key><array>"));
    QVERIFY(test::writeFile(folder + "/TSModelSprite.0.attributes.xml",
                            "<plist><dict><key>OTHER</key><array/></dict></plist>"));
    QTest::ignoreMessage(QtDebugMsg, "[TSModelController] avoiding object with no className");
    QTest::ignoreMessage(QtDebugMsg, "[TSModelController] load data - fail");
    QTest::ignoreMessage(QtDebugMsg, "[TSModelController] load ROOT array - fail");
    QTest::ignoreMessage(QtDebugMsg, "[TSModelController] no model for connection with id 77");
    QVERIFY(controller()->loadWorkingSession(QFileInfo(folder).fileName()));
    QCOMPARE(controller()->modelsOfClass(TSModelSkeleton::kClassName)->count(), 1u);
    QVERIFY(controller()->modelWithId(5));
    QCOMPARE(controller()->modelsOfClass(TSModelSkeletonNode::kClassName), nullptr);
}

void TestProjectStorage::failedSaveLeavesPreviousDocumentIntact_data()
{
    QTest::addColumn<QString>("breakage");
    QTest::addColumn<QString>("error");
    // An error naming an image file is "Failed to write image file <path>: <reason>. ".
    const QString image = "Failed to write image file ";
    QTest::newRow("archive cannot be created")
        << "archive" << "Failed to compress working files. Failed to create archive. ";
    QTest::newRow("model file cannot be written")
        << "model" << "Failed to save working session. Failed to write data for class. Target file : ";
    QTest::newRow("no working folder") << "working folder"
                                       << "Failed to save working session. Working path empty. ";
    QTest::newRow("image, images folder is a file") << "images folder" << image;
    QTest::newRow("image, a folder in the file's place") << "image file" << image;
    QTest::newRow("sprite, images folder is a file") << "sprite" << image;
}

void TestProjectStorage::failedSaveLeavesPreviousDocumentIntact()
{
    QFETCH(QString, breakage);
    QFETCH(QString, error);
    buildProject();
    TSModel* image =
        static_cast<TSModel*>(controller()->modelsOfClass("TSGraphicsPixmapModel")->objectAtIndex(0));
    if (breakage == "sprite") {
        auto* sprite = added(new TSModelSprite());
        sprite->setSourceImage(picture(3));
        image = sprite;
    }
    const QString blocked = controller()->workingPath() + "/TSModelSkeletonNode.0.attributes.xml";
    const QString images = controller()->workingPath() + "/images";
    const QString document = m_dir.filePath("keep.bsdoc");
    QVERIFY(controller()->saveDocument(document));
    const QByteArray original = fileBytes(document);
    added(new TSModelSkeletonNode());
    if (breakage == "archive") {
        QVERIFY(QDir().mkpath(TSProjectStorage(controller()).temporaryArchivePath()));
        QTest::ignoreMessage(QtDebugMsg, "ERROR: failed to compress working files");
    } else if (breakage == "model") {
        QVERIFY(QFile::remove(blocked) && QDir().mkpath(blocked));
        QTest::ignoreMessage(QtWarningMsg, qPrintable("ERROR Write to file " + blocked +
                                                      " failed on writeDataForClass( CCString* )"));
        QTest::ignoreMessage(QtDebugMsg, "ERROR: failed to write data for class");
        QTest::ignoreMessage(QtDebugMsg, "ERROR: failed to save working session");
        error += blocked;
    } else if (breakage == "working folder") {
        controller()->removeWorkingFolder();
        QTest::ignoreMessage(QtDebugMsg, "ERROR: Working path is empty");
        QTest::ignoreMessage(QtDebugMsg, "ERROR: failed to save working session");
    } else if (breakage == "image file") {
        QVERIFY(QFile::remove(image->imageFilePath()));
        QVERIFY(QDir().mkpath(image->imageFilePath()));
    } else {
        QVERIFY(QDir(images).removeRecursively());
        QVERIFY(test::writeFile(images, "in the way"));
    }
    QVERIFY(!controller()->saveDocument(document));
    const QString said = controller()->errorString();
    if (error.startsWith("Failed to write image file ")) {
        // The reason comes from the system; it is there, and the message ends as every one does.
        error += image->imageFilePath() + ": ";
        QVERIFY2(said.startsWith(error) && said.endsWith(". ") && said.size() > error.size() + 2, qPrintable(said));
    } else {
        QCOMPARE(said, error);
    }
    QCOMPARE(fileBytes(document), original);
    QCOMPARE(controller()->documentPath(), document);
    if (breakage != "archive") {
        QVERIFY(!QFileInfo::exists(TSProjectStorage(controller()).temporaryArchivePath()));
    }
}

void TestProjectStorage::finalStepFailureSaysWhy_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("cause");
    const QString readOnlyFolder = m_dir.filePath("read-only folder");
    const QString readOnlyDocument = m_dir.filePath("read-only.bsdoc");
    QTest::newRow("a folder") << m_dir.path() << m_dir.path() + " is a folder";
    QTest::newRow("missing folder") << m_dir.filePath("no/such/folder/x.bsdoc")
                                    << "The folder " + m_dir.filePath("no/such/folder") + " does not exist";
    QTest::newRow("read-only document")
        << readOnlyDocument << "The document " + readOnlyDocument + " is read-only";
    QTest::newRow("read-only folder") << readOnlyFolder + "/x.bsdoc"
                                      << "The folder " + readOnlyFolder + " is read-only";
}

void TestProjectStorage::finalStepFailureSaysWhy()
{
    QFETCH(QString, target);
    QFETCH(QString, cause);
    const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ReadUser |
                                              QFileDevice::ExeOwner | QFileDevice::ExeUser |
                                              QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QByteArray original;
    if (QTest::currentDataTag() == QLatin1String("read-only document")) {
        QVERIFY(controller()->saveDocument(target));
        original = fileBytes(target);
        QVERIFY(QFile::setPermissions(target, readOnly & ~(QFileDevice::ExeOwner | QFileDevice::ExeUser)));
    } else if (QTest::currentDataTag() == QLatin1String("read-only folder")) {
        if (::geteuid() == 0) {
            QSKIP("permission bits do not stop the superuser from writing");
        }
        QVERIFY(QDir().mkpath(QFileInfo(target).path()));
        QVERIFY(QFile::setPermissions(QFileInfo(target).path(), readOnly));
    }
    const QString before = controller()->documentPath();
    QTest::ignoreMessage(QtDebugMsg, "ERROR: failed to copy file to destination");
    QVERIFY(!controller()->saveDocument(target));
    QCOMPARE(controller()->errorString(), "Failed to copy file to destination. " + cause + ". ");
    QCOMPARE(fileBytes(target), original);
    QCOMPARE(controller()->documentPath(), before);
    QVERIFY(!QFileInfo::exists(TSProjectStorage(controller()).temporaryArchivePath()));
}

void TestProjectStorage::saveReportsProgressAndRemovesItsTemporaryArchive()
{
    const QString temporary = TSProjectStorage(controller()).temporaryArchivePath();
    QCOMPARE(QFileInfo(temporary).path(), controller()->baseFolder());
    QVERIFY(temporary.endsWith(".bsdoc"));
    QVERIFY(temporary.contains(QFileInfo(controller()->workingPath()).fileName()));
    buildProject();
    QSignalSpy spy(controller(), &TSModelController::saveProgress);
    QVERIFY(controller()->saveDocument(m_dir.filePath("p.bsdoc")));
    QVERIFY(!QFileInfo::exists(temporary));
    QVERIFY(spy.count() > 3);
    double previous = 0.0;
    for (const QList<QVariant>& call : spy) {
        const double value = call.at(0).toDouble();
        QVERIFY(value >= previous && value <= 1.0);
        previous = value;
    }
    QCOMPARE(previous, 1.0);
}

void TestProjectStorage::archiveEntriesAndVerification()
{
    buildProject();
    const QString document = m_dir.filePath("entries.bsdoc");
    QVERIFY(controller()->saveDocument(document));
    QuaZip zip(document);
    QVERIFY(zip.open(QuaZip::mdUnzip));
    QStringList names = zip.getFileNameList();
    QVERIFY(names.contains("TSModelGeneralSettings.0.attributes.xml"));
    QVERIFY(names.contains(QStringLiteral("images/TSGraphicsPixmapModel_ID%1.png")
                               .arg(static_cast<TSModel*>(controller()->modelsOfClass("TSGraphicsPixmapModel")->objectAtIndex(0))->id())));
    for (const QString& name : names) {
        QVERIFY2(!name.endsWith('/') && !name.contains('\\'), qPrintable(name));
    }
    for (const QuaZipFileInfo64& info : zip.getFileInfoList64()) {
        QCOMPARE(info.method, quint16(8));
    }
    zip.close();
    QVERIFY(TSProjectArchive::verify(document, names));
    names.removeLast();
    QVERIFY(!TSProjectArchive::verify(document, names));

    // A failed check says what it found: a missing entry, or a byte changed inside an entry.
    const QString stored = m_dir.filePath("stored.zip");
    writeZip(stored, {{"a.xml", "first entry"}, {"images/b.png", "second entry payload"}}, 0);
    TSProjectStorage storage(controller());
    QVERIFY(storage.checkArchive(stored, {"a.xml", "images/b.png"}));
    QVERIFY(!storage.checkArchive(stored, {"a.xml", "images/c.png"}));
    QCOMPARE(controller()->errorString(), QStringLiteral("The new archive failed its check: "
                                                         "unexpected entry images/b.png. "));
    QByteArray bytes = fileBytes(stored);
    bytes[bytes.indexOf("payload")] = 'P';
    QVERIFY(test::writeFile(stored, bytes));
    controller()->clearError();
    QVERIFY(!storage.checkArchive(stored, {"a.xml", "images/b.png"}));
    QCOMPARE(controller()->errorString(), QStringLiteral("The new archive failed its check: "
                                                         "CRC error in images/b.png. "));
    QCOMPARE(TSProjectArchive::compress(m_dir.path(), {}, m_dir.filePath("none.zip"), {}),
             TSProjectArchive::CompressResult::NoFiles);
}

void TestProjectStorage::openErrors_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty file") << QByteArray("");
    QTest::newRow("text file") << QByteArray("just some words, not a zip at all\n");
    QTest::newRow("zip signature only") << QByteArray("PK\x03\x04 truncated");
}

void TestProjectStorage::openErrors()
{
    QFETCH(QByteArray, content);
    added(new TSModelSkeletonNode());
    const QString path = m_dir.filePath("bad.bsdoc");
    QVERIFY(test::writeFile(path, content));
    QVERIFY(!controller()->openDocument(path));
    QCOMPARE(controller()->errorString(), QStringLiteral("Project file broken. "));
    // The previous models stay in memory; a fresh working folder is ready.
    QCOMPARE(controller()->modelsOfClass(TSModelSkeletonNode::kClassName)->count(), 1u);
    QVERIFY(QFileInfo(controller()->workingPath()).isDir());

    controller()->clearError();
    QVERIFY(!controller()->openDocument(m_dir.filePath("missing.bsdoc")));
    QCOMPARE(controller()->errorString(), QStringLiteral("File does not exist. "));
}

void TestProjectStorage::entriesOutsideTheProjectAreSkippedOrKept()
{
    buildProject();
    const QString document = m_dir.filePath("good.bsdoc");
    QVERIFY(controller()->saveDocument(document));
    // Add entries that try to leave the working folder.
    QuaZip zip(document);
    QVERIFY(zip.open(QuaZip::mdAdd));
    for (const char* name : {"../escaped.txt", "images/../../escaped2.txt", "/tmp/absolute.txt", "C:/drive.txt"}) {
        QuaZipFile entry(&zip);
        QVERIFY(entry.open(QIODevice::WriteOnly, QuaZipNewInfo(QLatin1String(name))));
        entry.write("bad");
        entry.close();
    }
    zip.close();
    TSModelController::destroyInstance();
    const QString base = controller()->baseFolder();
    for (const char* name : {"/escaped.txt", "/escaped2.txt", "/absolute.txt", "/drive.txt"}) {
        QTest::ignoreMessage(QtDebugMsg,
                             QRegularExpression("^fileOpenError: .*" + QLatin1String(name) + "$"));
    }
    QVERIFY(controller()->openDocument(document));
    QVERIFY(!QFileInfo::exists(base + "/escaped.txt"));
    QVERIFY(!QFileInfo::exists(base + "/escaped2.txt"));
    QVERIFY(!QFileInfo::exists("/tmp/absolute.txt"));
    QVERIFY(!QFileInfo::exists(controller()->workingPath() + "/C:"));
    QCOMPARE(controller()->modelsOfClass(TSModelSkeletonNode::kClassName)->count(), 3u);

    // An archive of unrelated files opens as an empty project that keeps them.
    const QString path = m_dir.filePath("unrelated.bsdoc");
    writeZip(path, {{"readme.txt", "hello"}, {"photos/cat.jpg", "not really"}});
    added(new TSModelSkeletonNode());
    QVERIFY(controller()->openDocument(path));
    QCOMPARE(controller()->modelsOfClass(TSModelSkeletonNode::kClassName), nullptr);
    QCOMPARE(controller()->modelsOfClass("TSModelGeneralSettings")->count(), 1u);
    QVERIFY(QFileInfo::exists(controller()->workingPath() + "/photos/cat.jpg"));
}

void TestProjectStorage::unusualNodeNamesSurviveSaveAndOpen()
{
    const QString tooLong = QString(5000, QChar(0x00e9)) + "tail";
    const QStringList names = {" ", " \t  ", "\r\n", "a\rb", tooLong};
    for (int i = 0; i < names.size(); ++i) {
        NodeRecord node;
        node.name = names.at(i);
        node.parent = i ? names.at(i - 1) : QString();
        added(new TSModelSkeletonNode())->fillFrom(node);
    }
    const QString document = m_dir.filePath("names.bsdoc");
    QVERIFY(controller()->saveDocument(document));

    TSModelController::destroyInstance();
    QTest::ignoreMessage(QtDebugMsg, "[TSPAttributeString] name: 5004 characters cut to 4096");
    QTest::ignoreMessage(QtDebugMsg, "[TSPAttributeString] Name: 5004 characters cut to 4096");
    QVERIFY(controller()->openDocument(document));
    CCArray* nodes = controller()->modelsOfClass(TSModelSkeletonNode::kClassName);
    QCOMPARE(nodes->count(), 5u);
    for (int i = 0; i < names.size(); ++i) {
        auto* node = static_cast<TSModelSkeletonNode*>(nodes->objectAtIndex(static_cast<unsigned>(i)));
        QCOMPARE(node->nodeName(), names.at(i).left(4096));
        QCOMPARE(QString::fromStdString(node->name()), names.at(i).left(4096));
        QCOMPARE(node->parentName(), i ? names.at(i - 1) : QString());
    }
}

void TestProjectStorage::oversizedArchivesAreRefused_data()
{
    QTest::addColumn<QList<qint64>>("sizes");
    QTest::addColumn<QString>("log");
    const qint64 mebibyte = 1 << 20;
    QTest::newRow("one entry too large")
        << QList<qint64>{300 * mebibyte} << "[TSModelController] archive entry too large: images/entry0.png";
    QTest::newRow("entries too large together")
        << QList<qint64>{200 * mebibyte, 200 * mebibyte, 200 * mebibyte,
                         200 * mebibyte, 200 * mebibyte, 200 * mebibyte}
        << "[TSModelController] archive too large";
}

void TestProjectStorage::oversizedArchivesAreRefused()
{
    QFETCH(QList<qint64>, sizes);
    QFETCH(QString, log);
    // Entries whose headers announce more than any project holds; the data itself is a few bytes,
    // so nothing may be decompressed to find out.
    buildProject();
    const QString good = m_dir.filePath("good.bsdoc");
    QVERIFY(controller()->saveDocument(good));
    const QString document = m_dir.filePath("huge.bsdoc");
    QFile::remove(document);
    QVERIFY(QFile::copy(good, document));
    QuaZip zip(document);
    QVERIFY(zip.open(QuaZip::mdAdd));
    for (int i = 0; i < sizes.size(); ++i) {
        QuaZipNewInfo info(QStringLiteral("images/entry%1.png").arg(i));
        info.uncompressedSize = static_cast<ulong>(sizes.at(i));
        QuaZipFile entry(&zip);
        QVERIFY(entry.open(QIODevice::WriteOnly, info, nullptr, 0, Z_DEFLATED, Z_DEFAULT_COMPRESSION, true));
        // An empty deflate stream.
        entry.write("\x03\x00", 2);
        entry.close();
    }
    zip.close();
    const QMap<unsigned, QString> before = snapshot();
    QTest::ignoreMessage(QtDebugMsg, qPrintable(log));
    QVERIFY(!controller()->openDocument(document));
    QCOMPARE(controller()->errorString(), QStringLiteral("Project file too large. "));
    QCOMPARE(snapshot(), before);
    // Nothing of the refused document is left for a later load or save to pick up.
    QCOMPARE(TSProjectArchive::collectFiles(controller()->workingPath()), QStringList());
    controller()->clearError();
    QVERIFY(controller()->openDocument(good));
}

void TestProjectStorage::staleSessionsSkipRunningEditorsAndIgnoredFolders()
{
    // Folders an earlier run failed to remove are on the ignore list: never offered as stale,
    // removed when the controller goes, and the list then forgets them.
    const QString ignored = "aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee";
    TSModelController::destroyInstance();
    QSettings().setValue("ignoreList", QStringList{ignored, "gone-already"});
    const QString base = controller()->baseFolder();
    QVERIFY(QDir(base).mkpath(ignored));
    const QString alive = "11111111-2222-3333-4444-555555555555";
    const QString dead = "66666666-7777-8888-9999-000000000000";
    QVERIFY(QDir(base).mkpath(alive));
    QVERIFY(QDir(base).mkpath(dead));
    QLocalServer other;
    QLocalServer::removeServer(alive);
    QVERIFY(other.listen(alive));
    QStringList stale = controller()->staleSessions();
    QVERIFY(!stale.contains(alive));
    QVERIFY(!stale.contains(ignored));
    QVERIFY(stale.contains(dead));
    other.close();
    QVERIFY(controller()->staleSessions().contains(alive));
    QDir(base + "/" + alive).removeRecursively();
    QDir(base + "/" + dead).removeRecursively();
    TSModelController::destroyInstance();
    QVERIFY(!QFileInfo::exists(base + "/" + ignored));
    QVERIFY(QSettings().contains("ignoreList"));
    QCOMPARE(QSettings().value("ignoreList").toStringList(), QStringList());

    // With no stale session left, there is none to load.
    for (const QString& name : controller()->staleSessions()) {
        QDir(controller()->baseFolder() + "/" + name).removeRecursively();
    }
    QVERIFY(!controller()->loadWorkingSession(QString()));
    QCOMPARE(controller()->errorString(), QStringLiteral("No valid session found. "));
}

void TestProjectStorage::removedWorkingFolderGoesAndDestructionCleansUp()
{
    const QString working = controller()->workingPath();
    controller()->recreateWorkingFolder();
    QVERIFY(QFileInfo(working + "/images").isDir());
    controller()->removeWorkingFolder();
    QVERIFY(!QFileInfo::exists(working));
    QVERIFY(controller()->workingPath().isEmpty());
    QVERIFY(controller()->createWorkingFolder());
    const QString next = controller()->workingPath();
    TSModelController::destroyInstance();
    QVERIFY(!QFileInfo::exists(next));
    QCOMPARE(QSettings().value("ignoreList").toStringList(), QStringList());
}

void TestProjectStorage::openSaveCyclesKeepObjectCountFlat()
{
    buildProject();
    const QString document = m_dir.filePath("cycles.bsdoc");
    QVERIFY(controller()->saveDocument(document));
    CCPoolManager* pools = CCPoolManager::sharedPoolManager();
    // One cycle the way the editor runs it: a new document state, open, models rebuilt, save.
    auto cycle = [&] {
        controller()->reset();
        QVERIFY(controller()->openDocument(document));
        controller()->removeModelsOfClass(TSModelSkeletonNode::kClassName);
        added(new TSModelSkeletonNode());
        QVERIFY(controller()->saveDocument(document));
    };
    cycle();
    const unsigned pending = pools->pendingCount();
    const uint64_t live = CCObject::liveObjectCount();
    for (int i = 0; i < 3; ++i) {
        cycle();
        QCOMPARE(pools->pendingCount(), pending);
        QCOMPARE(CCObject::liveObjectCount(), live);
    }
}

void TestProjectStorage::unchangedPicturesAreNotEncodedAgain()
{
    // The editor puts new image models, with new ids, in place of the old ones on every save. A
    // picture that did not change keeps the very file it was written to, under the new name (a
    // mark appended to the file shows that it is the same file); a changed one is written anew,
    // and no file of a gone model stays behind.
    const QByteArray mark("#same file");
    const QImage kept = picture(5);
    const QImage changed = picture(6);
    auto* first = added(TSGraphicsPixmapModel::fromItemState(QPointF(), 0, QTransform(), 0, kept));
    auto* second = added(TSGraphicsPixmapModel::fromItemState(QPointF(), 1, QTransform(), 0, changed));
    const QString document = m_dir.filePath("pictures.bsdoc");
    QVERIFY(controller()->saveDocument(document));
    const QByteArray keptBytes = fileBytes(first->imageFilePath()) + mark;
    QVERIFY(test::writeFile(first->imageFilePath(), keptBytes));
    QVERIFY(test::writeFile(second->imageFilePath(), fileBytes(second->imageFilePath()) + mark));

    controller()->removeModelsOfClass(TSGraphicsPixmapModel::kClassName);
    QImage edited = changed;
    edited.setPixel(0, 0, qRgba(1, 2, 3, 255));
    auto* again = added(TSGraphicsPixmapModel::fromItemState(QPointF(), 0, QTransform(), 0, kept));
    auto* other = added(TSGraphicsPixmapModel::fromItemState(QPointF(), 1, QTransform(), 0, edited));
    QVERIFY(controller()->saveDocument(document));
    QCOMPARE(fileBytes(again->imageFilePath()), keptBytes);
    QVERIFY(!fileBytes(other->imageFilePath()).endsWith(mark));
    QCOMPARE(QImage(other->imageFilePath()).convertToFormat(QImage::Format_ARGB32_Premultiplied), edited);
    const QStringList files = QDir(controller()->workingPath() + "/images").entryList(QDir::Files, QDir::Name);
    QCOMPARE(files, QStringList({QFileInfo(again->imageFilePath()).fileName(),
                                 QFileInfo(other->imageFilePath()).fileName()}));

    // A picture read from a document is encoded again: only files written here are taken over.
    QVERIFY(controller()->openDocument(document));
    auto* loaded =
        static_cast<TSModel*>(controller()->modelsOfClass("TSGraphicsPixmapModel")->objectAtIndex(0));
    QVERIFY(test::writeFile(loaded->imageFilePath(), fileBytes(loaded->imageFilePath()) + mark));
    const QImage loadedPicture = loaded->pictureForFile();
    controller()->removeModelsOfClass(TSGraphicsPixmapModel::kClassName);
    auto* fromDocument =
        added(TSGraphicsPixmapModel::fromItemState(QPointF(), 0, QTransform(), 0, loadedPicture));
    QVERIFY(controller()->saveDocument(document));
    QVERIFY(!fileBytes(fromDocument->imageFilePath()).endsWith(mark));
}

BONESTAGE_GUILESS_TEST_MAIN(TestProjectStorage)
#include "tst_ProjectStorage.moc"
