// Recovery states: what is written, what a failed or cut-short write leaves, and which left-behind
// working folders are kept for the user, recovered or removed.
#include "AnimationModelClasses.h"
#include "RecoveryFolder.h"
#include "RecoverySnapshot.h"
#include "RecoverySnapshotBuilder.h"
#include "RecoveryWriter.h"
#include "TSGraphicsPixmapModel.h"
#include "TSModelController.h"
#include "TSModelSkeletonNode.h"
#include "TSProjectArchive.h"
#include "TSProjectStorage.h"

#include "ModelSupport.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QDirIterator>
#include <QLocalServer>
#include <QUuid>
#include <QtTest>

using test::added;
using test::fileBytes;

namespace {

TSModelController* controller()
{
    return TSModelController::instance();
}

void addNodes(int count)
{
    for (int i = 0; i < count; ++i) {
        NodeRecord node;
        node.name = QStringLiteral("node %1").arg(i);
        node.position = QPointF(i, -i);
        added(new TSModelSkeletonNode())->fillFrom(node);
    }
}

QImage picture(int seed)
{
    QImage image(8, 6, QImage::Format_ARGB32_Premultiplied);
    image.fill(qRgba(seed, 20, 40, 255));
    return image;
}

RecoveryManifest manifest(const QString& name, const QString& path, bool unsaved = true)
{
    RecoveryManifest m;
    m.documentName = name;
    m.documentPath = path;
    m.time = QDateTime(QDate(2026, 12, 7), QTime(6, 30), Qt::UTC);
    m.pid = 4242;
    m.unsaved = unsaved;
    return m;
}

// Every file below folder, relative name -> bytes.
QMap<QString, QByteArray> filesBelow(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), fileBytes(path));
    }
    return files;
}

QString stateFolder(const QString& working)
{
    RecoveryManifest read;
    return RecoveryFolder::read(working, &read) == RecoveryManifest::Status::Ok
               ? RecoveryFolder::path(working) + QLatin1Char('/') + read.stateFolder
               : QString();
}

// A working folder of an editor that is gone, holding the current models as its recovery state.
QString leftBehindSession(const RecoveryManifest& m)
{
    const QString name = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString folder = controller()->baseFolder() + QLatin1Char('/') + name;
    RecoverySnapshot snapshot = RecoverySnapshot::take(controller(), m);
    snapshot.workingPath = folder;
    QString error;
    RecoveryWriter writer;
    return QDir().mkpath(folder) && writer.write(snapshot, &error) ? name : QString();
}

} // namespace

class TestRecoveryState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { AnimationModelClasses::registerAll(); }
    void cleanup() { TSModelController::destroyInstance(); }
    void stateHoldsWhatASaveWrites();
    void snapshotInStepsEqualsTheWhole();
    void failedOrCutShortWritesKeepThePreviousState();
    void manifestsOfOtherFormatsAreUnusable();
    void leftBehindFoldersWithUnsavedWorkStay();
    void recoveringLoadsTheStateIntoAFreshFolder();
};

void TestRecoveryState::stateHoldsWhatASaveWrites()
{
    addNodes(3);
    auto* image = added(TSGraphicsPixmapModel::fromItemState(QPointF(1, 2), 0, QTransform(), 0, picture(7)));
    const QString working = controller()->workingPath();
    RecoveryWriter writer;
    QString error;
    QVERIFY2(
        writer.write(RecoverySnapshot::take(controller(), manifest("walker", "/docs/walker.bsdoc")), &error),
        qPrintable(error));
    // The model files a save writes, byte for byte, and the picture.
    QVERIFY(TSProjectStorage(controller()).saveWorkingFiles());
    QMap<QString, QByteArray> saved = filesBelow(working);
    for (auto it = saved.begin(); it != saved.end();) {
        const bool modelFile =
            it.key().endsWith(QLatin1String(".xml")) && !it.key().contains(QLatin1Char('/'));
        it = modelFile ? std::next(it) : saved.erase(it);
    }
    QMap<QString, QByteArray> state = filesBelow(stateFolder(working));
    const QString pictureFile = QStringLiteral("images/TSGraphicsPixmapModel_ID%1.png").arg(image->id());
    QCOMPARE(QImage::fromData(state.take(pictureFile)).convertToFormat(QImage::Format_ARGB32),
             picture(7).convertToFormat(QImage::Format_ARGB32));
    QCOMPARE(state, saved);

    RecoveryManifest read;
    QCOMPARE(RecoveryFolder::read(working, &read), RecoveryManifest::Status::Ok);
    QCOMPARE(read.documentName, QStringLiteral("walker"));
    QCOMPARE(read.documentPath, QStringLiteral("/docs/walker.bsdoc"));
    QCOMPARE(read.time, manifest("", "").time);
    QCOMPARE(read.pid, qint64(4242));
    QVERIFY(read.unsaved);

    // A document saved afterwards carries none of it.
    const QString document = QDir(controller()->baseFolder()).filePath("out.bsdoc");
    QVERIFY2(controller()->saveDocument(document), qPrintable(controller()->errorString()));
    const QStringList files = TSProjectArchive::collectFiles(working);
    QVERIFY(files.contains("recovery/manifest.json"));
    QVERIFY2(TSProjectArchive::verify(document, files.filter(QRegularExpression("^(?!recovery/)")), &error),
             qPrintable(error));
    QFile::remove(document);
}

void TestRecoveryState::snapshotInStepsEqualsTheWhole()
{
    // 1203 nodes: three files of each pass, the last one short.
    addNodes(1203);
    const RecoverySnapshot whole = RecoverySnapshot::take(controller(), manifest("a", ""));
    RecoverySnapshotBuilder builder(controller(), manifest("a", ""));
    // Models replaced after the snapshot began are written as they were when it began.
    controller()->removeModelsOfClass("TSModelSkeletonNode");
    addNodes(2);
    int steps = 1;
    while (!builder.step(0)) {
        ++steps;
    }
    // Without time to spare, each step prints one model in one pass (general settings and nodes).
    QCOMPARE(steps, 2 * (1 + 1203));
    const RecoverySnapshot stepped = builder.result();
    QCOMPARE(stepped.files.size(), 8);
    QCOMPARE(stepped.files.size(), whole.files.size());
    for (int i = 0; i < whole.files.size(); ++i) {
        QCOMPARE(stepped.files.at(i).name, whole.files.at(i).name);
        QCOMPARE(stepped.files.at(i).content, whole.files.at(i).content);
    }
    QVERIFY(whole.files.at(2).name.startsWith("TSModelSkeletonNode.0."));
}

void TestRecoveryState::failedOrCutShortWritesKeepThePreviousState()
{
    addNodes(2);
    const QString working = controller()->workingPath();
    RecoveryWriter writer;
    QString error;
    QVERIFY(writer.write(RecoverySnapshot::take(controller(), manifest("first", "")), &error));
    const QString first = stateFolder(working);
    const QMap<QString, QByteArray> firstFiles = filesBelow(first);

    // A write that fails half-way: the first file is written, the second cannot be.
    addNodes(1);
    RecoverySnapshot broken = RecoverySnapshot::take(controller(), manifest("second", ""));
    broken.files.append({QStringLiteral("no such folder/TSModelSkeleton.0.attributes.xml"), "x"});
    QVERIFY(!writer.write(broken, &error));
    QVERIFY2(error.contains("no such folder"), qPrintable(error));
    QCOMPARE(stateFolder(working), first);
    QCOMPARE(filesBelow(first), firstFiles);
    QCOMPARE(QDir(RecoveryFolder::path(working)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);

    // A writer killed before its manifest went in leaves a half state and a half manifest beside it.
    QVERIFY(test::writeFile(RecoveryFolder::path(working) + "/state-cut/TSModelSkeletonNode.0.attributes.xml",
                            "<pl"));
    QVERIFY(test::writeFile(RecoveryFolder::manifestPath(working) + ".Xa1b2c", "{\"form"));
    RecoveryManifest read;
    QCOMPARE(RecoveryFolder::read(working, &read), RecoveryManifest::Status::Ok);
    QCOMPARE(read.documentName, QStringLiteral("first"));
    const QString restored = QDir(controller()->baseFolder()).filePath("restored");
    QVERIFY(RecoveryFolder::restore(working, read, restored, &error));
    QCOMPARE(filesBelow(restored), firstFiles);
    QDir(restored).removeRecursively();

    // The next write that succeeds takes over and clears the rest away.
    QVERIFY(writer.write(RecoverySnapshot::take(controller(), manifest("third", "")), &error));
    QCOMPARE(RecoveryFolder::read(working, &read), RecoveryManifest::Status::Ok);
    QCOMPARE(read.documentName, QStringLiteral("third"));
    QCOMPARE(QDir(RecoveryFolder::path(working)).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList{read.stateFolder});
}

void TestRecoveryState::manifestsOfOtherFormatsAreUnusable()
{
    RecoveryManifest read;
    QString problem;
    RecoveryManifest older = manifest("a", "");
    older.format = 0;
    older.stateFolder = "state-1";
    QCOMPARE(RecoveryManifest::fromJson(older.toJson(), &read, &problem), RecoveryManifest::Status::Unusable);
    QCOMPARE(problem, QStringLiteral("format 0 is not format 1"));
    QCOMPARE(RecoveryManifest::fromJson("not json", &read, &problem), RecoveryManifest::Status::Unusable);
    // A state named outside its recovery folder is never read.
    RecoveryManifest escaping = manifest("a", "");
    escaping.stateFolder = "../../elsewhere";
    QCOMPARE(RecoveryManifest::fromJson(escaping.toJson(), &read, &problem),
             RecoveryManifest::Status::Unusable);
    escaping.stateFolder = "state-1";
    QCOMPARE(RecoveryManifest::fromJson(escaping.toJson(), &read, &problem), RecoveryManifest::Status::Ok);
}

void TestRecoveryState::leftBehindFoldersWithUnsavedWorkStay()
{
    addNodes(1);
    const QString unsaved = leftBehindSession(manifest("unsaved", ""));
    const QString saved = leftBehindSession(manifest("saved", "", false));
    const QString running = leftBehindSession(manifest("running", ""));
    const QString other = leftBehindSession(manifest("other", ""));
    const QString plain = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QVERIFY(!unsaved.isEmpty() && !saved.isEmpty() && !running.isEmpty() && !other.isEmpty());
    const QString base = controller()->baseFolder() + QLatin1Char('/');
    QVERIFY(QDir().mkpath(base + plain + "/images"));
    QByteArray json = fileBytes(RecoveryFolder::manifestPath(base + other));
    QVERIFY(test::writeFile(RecoveryFolder::manifestPath(base + other),
                            json.replace("\"format\": 1", "\"format\": 7")));
    QVERIFY(test::writeFile(controller()->temporaryArchivePath(unsaved), "PK"));
    QLocalServer server;
    QVERIFY(server.listen(running));

    QStringList recoverable = controller()->recoverableSessions();
    recoverable.sort();
    QStringList expected{unsaved, other};
    expected.sort();
    QCOMPARE(recoverable, expected);
    controller()->discardStaleSessions();
    QVERIFY(QFileInfo::exists(base + unsaved));
    QVERIFY(QFileInfo::exists(base + other));
    QVERIFY(QFileInfo::exists(base + running));
    QVERIFY(!QFileInfo::exists(base + saved));
    QVERIFY(!QFileInfo::exists(base + plain));
    QVERIFY(!QFileInfo::exists(controller()->temporaryArchivePath(unsaved)));
    for (const QString& name : {unsaved, other, running}) {
        QDir(base + name).removeRecursively();
    }
}

void TestRecoveryState::recoveringLoadsTheStateIntoAFreshFolder()
{
    addNodes(4);
    added(TSGraphicsPixmapModel::fromItemState(QPointF(), 0, QTransform(), 0, picture(90)));
    const QString session = leftBehindSession(manifest("walker", "/docs/walker.bsdoc"));
    const QString folder = controller()->baseFolder() + QLatin1Char('/') + session;
    controller()->reset();
    const QString before = controller()->workingPath();

    QVERIFY2(controller()->recoverSession(session), qPrintable(controller()->errorString()));
    QVERIFY(controller()->workingPath() != before);
    QVERIFY(!QFileInfo::exists(before));
    QCOMPARE(controller()->documentPath(), QStringLiteral("/docs/walker.bsdoc"));
    QCOMPARE(controller()->modelsOfClass("TSModelSkeletonNode")->count(), 4u);
    auto* image = static_cast<TSGraphicsPixmapModel*>(
        controller()->modelsOfClass("TSGraphicsPixmapModel")->objectAtIndex(0));
    QCOMPARE(image->image().pixel(0, 0), picture(90).pixel(0, 0));
    // The folder it came from stays until the caller lets it go.
    QVERIFY(QFileInfo::exists(folder));
    controller()->discardSession(session);
    QVERIFY(!QFileInfo::exists(folder));
    // Without a state nothing is loaded and the open project stays.
    QVERIFY(!controller()->recoverSession(session));
    QCOMPARE(controller()->errorString(), QStringLiteral("No recovery state found. "));
    QCOMPARE(controller()->modelsOfClass("TSModelSkeletonNode")->count(), 4u);
}

BONESTAGE_GUI_TEST_MAIN(TestRecoveryState)
#include "tst_RecoveryState.moc"
