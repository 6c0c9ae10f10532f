// The asset library without widgets: the search rule, index files, groups on disk (new, rename,
// remove, import) and the background loader with its thumbnail cache, on good and bad input.
#include "AssetSearch.h"
#include "TSAssetGroups.h"
#include "TSAssetIndex.h"
#include "TSAssetsLoader.h"
#include "TSLibraryModelTagged.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QGuiApplication>
#include <QMimeData>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString writePng(const QString& path, const QSize& size, const QColor& colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return QDir().mkpath(QFileInfo(path).path()) && image.save(path) ? path : QString();
}

} // namespace

class TestAssetLibrary : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void searchRule_data();
    void searchRule();
    void indexFilesRoundTripAndKeepWhatCanBeRead();
    void newGroupsRenameAndRemove();
    void importCopiesFilesAndListsThem();
    void missingIndexGivesAnEmptyGroup();
    void secondLoadReadsTheCache();
    void modelFiltersAndDragsThePicture();
    void shippedGroupsLoadWhole();

private:
    QTemporaryDir m_dir;
};

void TestAssetLibrary::init()
{
    QSettings().remove(QStringLiteral("categories"));
}

void TestAssetLibrary::searchRule_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<bool>("matches");
    // The asset: "/lib/Characters/arm_left.png" with the tags "arm", "Warm", "body part".
    QTest::newRow("empty request") << "" << true;
    QTest::newRow("blank request") << "  ,  " << true;
    QTest::newRow("whole tag") << "arm" << true;
    QTest::newRow("tag prefix, other case") << "WA" << true;
    QTest::newRow("tag with a blank, prefix") << "body" << true;
    QTest::newRow("file name prefix") << "arm_l" << true;
    QTest::newRow("inside a tag is no match") << "ody" << false;
    QTest::newRow("suffix is no match") << "png" << false;
    QTest::newRow("folder is no match") << "Characters" << false;
    QTest::newRow("every word must match") << "arm cool" << false;
    QTest::newRow("words by comma or blank") << "warm,arm  body" << true;
    QTest::newRow("longer than the tag") << "armor" << false;
}

void TestAssetLibrary::searchRule()
{
    QFETCH(QString, request);
    QFETCH(bool, matches);
    const QStringList tags = {QStringLiteral("arm"), QStringLiteral("Warm"), QStringLiteral(" body part")};
    QCOMPARE(AssetSearch::matches(request, QStringLiteral("/lib/Characters/arm_left.png"), tags), matches);
}

void TestAssetLibrary::indexFilesRoundTripAndKeepWhatCanBeRead()
{
    const QString file = m_dir.filePath("index/assets_0.xml");
    QVERIFY(QDir().mkpath(m_dir.filePath("index")));
    const QList<TSAssetIndex::Entry> entries = {{"Props/sword.png", {"sword", "weapon"}},
                                                {"Props/cup.png", {}}};
    QString error;
    QVERIFY(TSAssetIndex::write(file, entries, &error));
    QCOMPARE(test::fileBytes(file),
             QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<assets>\n"
                        "    <asset search_tags=\"sword,weapon\">Props/sword.png</asset>\n"
                        "    <asset search_tags=\"\">Props/cup.png</asset>\n</assets>\n"));
    QList<TSAssetIndex::Entry> read;
    QCOMPARE(TSAssetIndex::read(file, &read, &error), TSAssetIndex::ReadResult::Ok);
    QCOMPARE(read, entries);

    // Broken XML keeps the entries before the fault; backslashes and blank tags are tidied.
    QVERIFY(test::writeFile(file, "<assets><asset search_tags=\"a, ,b\">G\\x.png</asset><asset>y.png</as"));
    QCOMPARE(TSAssetIndex::read(file, &read, &error), TSAssetIndex::ReadResult::XmlError);
    QVERIFY(!error.isEmpty());
    QCOMPARE(read.size(), 1);
    QCOMPARE(read.first(), (TSAssetIndex::Entry{"G/x.png", {"a", "b"}}));

    // A write that cannot happen says why and leaves what was there.
    error.clear();
    QVERIFY(!TSAssetIndex::write(m_dir.filePath("index"), entries, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(file).isFile());
    QCOMPARE(TSAssetIndex::read(m_dir.filePath("none.xml"), &read, &error),
             TSAssetIndex::ReadResult::OpenFailed);
    QVERIFY(read.isEmpty());
}

void TestAssetLibrary::newGroupsRenameAndRemove()
{
    const QString own = m_dir.filePath("groups-rename");
    TSAssetGroups groups(m_dir.filePath("shipped"), {"Characters", "Props"}, own, "categories");
    QCOMPARE(groups.createGroup(), QStringLiteral("Untitled 0"));
    QCOMPARE(groups.createGroup(), QStringLiteral("Untitled 1"));
    QCOMPARE(groups.names(), QStringList({"Characters", "Props", "Untitled 0", "Untitled 1"}));
    QCOMPARE(QSettings().value("categories").toStringList(), QStringList({"Untitled 0", "Untitled 1"}));
    QVERIFY(groups.isDefault(1) && !groups.isDefault(2));
    QCOMPARE(groups.indexFile(3), own + "/assets_3.xml");
    QCOMPARE(groups.folder(2), own + "/Untitled 0");

    // Impossible names keep the old one, with the reason in the log.
    QVERIFY(test::writeFile(own + "/Blocked", "a file where the folder would go"));
    QVERIFY(QDir().mkpath(own + "/Untitled 0"));
    for (const char* name : {"Blocked", "a/b", "Untitled 1", "", "Props"}) {
        QTest::ignoreMessage(QtDebugMsg,
                             qPrintable(QStringLiteral("Error! Failed to rename subcategory in %1 from "
                                                       "Untitled 0 to %2")
                                            .arg(own, name)));
        QVERIFY2(!groups.rename("Untitled 0", name), name);
    }
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression("Failed to rename subcategory .* from Props to Mine"));
    QVERIFY(!groups.rename("Props", "Mine"));
    QCOMPARE(groups.names(), QStringList({"Characters", "Props", "Untitled 0", "Untitled 1"}));
    QVERIFY(QFileInfo(own + "/Untitled 0").isDir());

    // A good name moves the folder and the paths in the index.
    QString error;
    QVERIFY(TSAssetIndex::write(groups.indexFile(2), {{"Untitled 0/a.png", {"a"}}}, &error));
    QVERIFY(groups.rename("Untitled 0", "Heroes"));
    QVERIFY(QFileInfo(own + "/Heroes").isDir() && !QFileInfo::exists(own + "/Untitled 0"));
    QList<TSAssetIndex::Entry> read;
    QCOMPARE(TSAssetIndex::read(groups.indexFile(2), &read, &error), TSAssetIndex::ReadResult::Ok);
    QCOMPARE(read, (QList<TSAssetIndex::Entry>{{"Heroes/a.png", {"a"}}}));
    QCOMPARE(QSettings().value("categories").toStringList(), QStringList({"Heroes", "Untitled 1"}));

    // Removing takes the folder and the index; later index files move down one place.
    QVERIFY(test::writeFile(groups.indexFile(3), "<assets/>"));
    QVERIFY(groups.remove("Heroes"));
    QVERIFY(!QFileInfo::exists(own + "/Heroes"));
    QCOMPARE(test::fileBytes(own + "/assets_2.xml"), QByteArray("<assets/>"));
    QVERIFY(!QFileInfo::exists(own + "/assets_3.xml"));
    QCOMPARE(groups.createGroup(), QStringLiteral("Untitled 0"));
    QVERIFY(!groups.remove("Characters"));

    // The names come back from the settings in a new session, without bad ones.
    QSettings().setValue("categories", QStringList({"Untitled 1", "../escape", "Untitled 1", "Props"}));
    TSAssetGroups again(m_dir.filePath("shipped"), {"Characters", "Props"}, own, "categories");
    QCOMPARE(again.names(), QStringList({"Characters", "Props", "Untitled 1"}));
}

void TestAssetLibrary::importCopiesFilesAndListsThem()
{
    const QString own = m_dir.filePath("groups-import");
    TSAssetGroups groups(m_dir.filePath("shipped"), {"Characters", "Props"}, own, "categories");
    QCOMPARE(groups.importFiles(0, {writePng(m_dir.filePath("in/x.png"), {4, 4}, Qt::red)}), 0);
    const int group = groups.indexOf(groups.createGroup());
    QStringList files;
    for (int i = 0; i < 500; ++i) {
        files << writePng(m_dir.filePath(QStringLiteral("in/img%1.png").arg(i)), {2, 2}, Qt::blue);
    }
    files << m_dir.filePath("in/missing.png");
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("unable to copy .*missing.png"));
    QCOMPARE(groups.importFiles(group, files), 500);
    QVERIFY(QFileInfo(own + "/Untitled 0/img499.png").isFile());
    QList<TSAssetIndex::Entry> read;
    QString error;
    QCOMPARE(TSAssetIndex::read(groups.indexFile(group), &read, &error), TSAssetIndex::ReadResult::Ok);
    QCOMPARE(read.size(), 500);
    QCOMPARE(read.at(7).path, QStringLiteral("Untitled 0/img7.png"));

    // Another editor added an entry meanwhile: a second import keeps it and lists a file once.
    read.append(TSAssetIndex::Entry{"Untitled 0/theirs.png", {"theirs"}});
    QVERIFY(TSAssetIndex::write(groups.indexFile(group), read, &error));
    QCOMPARE(groups.importFiles(group, {files.at(3)}), 1);
    QCOMPARE(TSAssetIndex::read(groups.indexFile(group), &read, &error), TSAssetIndex::ReadResult::Ok);
    QCOMPARE(read.size(), 501);
    QCOMPARE(read.last().tags, QStringList({"theirs"}));
}

void TestAssetLibrary::missingIndexGivesAnEmptyGroup()
{
    TSAssetsLoader loader;
    loader.setCacheFolder(m_dir.filePath("cache-missing"));
    QSignalSpy count(&loader, &TSAssetsLoader::assetsCountChanged);
    QSignalSpy loaded(&loader, &TSAssetsLoader::assetLoaded);
    QSignalSpy done(&loader, &TSAssetsLoader::groupLoaded);
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression("^TSAssetsLoader::loadGroup - unable to open grop file: .*"
                                            "nowhere.xml"));
    loader.loadGroup(m_dir.filePath("nowhere.xml"), m_dir.path(), {64, 64}, Qt::KeepAspectRatio);
    QCOMPARE(count.size(), 1);
    QCOMPARE(count.first().first().toInt(), 0);
    QCOMPARE(done.size(), 1);
    QVERIFY(loaded.isEmpty() && !loader.isLoading());

    QVERIFY(test::writeFile(m_dir.filePath("broken.xml"), "<assets><asset>"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^TSAssetsLoader::loadGroup - .+"));
    loader.loadGroup(m_dir.filePath("broken.xml"), m_dir.path(), {64, 64}, Qt::KeepAspectRatio);
    QCOMPARE(count.last().first().toInt(), 0);
}

void TestAssetLibrary::secondLoadReadsTheCache()
{
    const QString root = m_dir.filePath("cached");
    QVERIFY(!writePng(root + "/G/wide.png", {200, 100}, Qt::red).isEmpty());
    QVERIFY(!writePng(root + "/G/tall.png", {50, 100}, Qt::green).isEmpty());
    QVERIFY(test::writeFile(root + "/G/corrupt.png", "\x89PNG not really"));
    QString error;
    QVERIFY(TSAssetIndex::write(root + "/assets_0.xml",
                                {{"G/wide.png", {"wide"}},
                                 {"G/corrupt.png", {}},
                                 {"G/gone.png", {}},
                                 {"G/tall.png", {"tall", "green"}}},
                                &error));

    TSAssetsLoader loader;
    const QString cache = m_dir.filePath("thumbs");
    loader.setCacheFolder(cache);
    QSignalSpy count(&loader, &TSAssetsLoader::assetsCountChanged);
    QSignalSpy loaded(&loader, &TSAssetsLoader::assetLoaded);
    QSignalSpy done(&loader, &TSAssetsLoader::groupLoaded);
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression("^TSAssetsLoader::assetLoadFinished - unable to load image "
                                            "\\(.*corrupt.png\\)"));
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression("^TSAssetsLoader::assetLoadFinished - unable to load image "
                                            "\\(.*gone.png\\)"));
    loader.loadGroup(root + "/assets_0.xml", root, {64, 64}, Qt::KeepAspectRatio);
    QCOMPARE(count.first().first().toInt(), 4);
    QVERIFY(loader.isLoading());
    QVERIFY(done.wait(5000));
    QCOMPARE(loaded.size(), 2);
    const auto first = loaded.first().first().value<TSIconAsset>();
    QCOMPARE(first.path, root + "/G/wide.png");
    QCOMPARE(first.tags, QStringList({"wide"}));
    QCOMPARE(first.thumbnail.size(), QSize(64, 32));
    QCOMPARE(loaded.last().first().value<TSIconAsset>().thumbnail.size(), QSize(32, 64));
    QCOMPARE(loader.fullReads(), 2);
    QCOMPARE(loader.cacheReads(), 0);
    const QString cached =
        cache + "/" + TSAssetsLoader::cacheFileName(root + "/G/wide.png", {64, 64}, Qt::KeepAspectRatio);
    QCOMPARE(QImage(cached).size(), QSize(64, 32));
    QCOMPARE(QFileInfo(cached).fileName(),
             QString::fromLatin1(
                 QCryptographicHash::hash((root + "/G/wide.png").toUtf8(), QCryptographicHash::Md5).toHex()) +
                 "_64x64_1.png");

    // The second load reads both thumbnails from the cache.
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("unable to load image \\(.*corrupt.png"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("unable to load image \\(.*gone.png"));
    loader.loadGroup(root + "/assets_0.xml", root, {64, 64}, Qt::KeepAspectRatio);
    QVERIFY(done.wait(5000));
    QCOMPARE(loader.cacheReads(), 2);
    QCOMPARE(loader.fullReads(), 2);
    QCOMPARE(loaded.last().first().value<TSIconAsset>().thumbnail.size(), QSize(32, 64));

    // A cache that cannot be written is logged and the thumbnails still come.
    QVERIFY(test::writeFile(m_dir.filePath("blocked"), "a file"));
    loader.setCacheFolder(m_dir.filePath("blocked/cache"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("unable to load image"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("unable to load image"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("unable to cache the thumbnail of .*wide.png"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("unable to cache the thumbnail of .*tall.png"));
    loaded.clear();
    loader.loadGroup(root + "/assets_0.xml", root, {64, 64}, Qt::KeepAspectRatio);
    QVERIFY(done.wait(5000));
    QCOMPARE(loaded.size(), 2);

    // Loading another group in the middle abandons the first: only the second one's assets come.
    loaded.clear();
    QVERIFY(TSAssetIndex::write(root + "/assets_1.xml", {{"G/tall.png", {"t"}}}, &error));
    loader.setCacheFolder(cache);
    loader.loadGroup(root + "/assets_0.xml", root, {64, 64}, Qt::KeepAspectRatio);
    loader.loadGroup(root + "/assets_1.xml", root, {64, 64}, Qt::KeepAspectRatio);
    QVERIFY(done.wait(5000));
    QCOMPARE(loaded.size(), 1);
    QCOMPARE(loaded.first().first().value<TSIconAsset>().tags, QStringList({"t"}));
}

void TestAssetLibrary::modelFiltersAndDragsThePicture()
{
    const QString picture = writePng(m_dir.filePath("model/hat.png"), {40, 30}, Qt::yellow);
    TSLibraryModelTagged model;
    model.addAsset({QImage(8, 6, QImage::Format_ARGB32), picture, {"hat", "prop"}});
    model.addAsset({QImage(8, 6, QImage::Format_ARGB32), m_dir.filePath("model/shoe.png"), {"shoe"}});
    QCOMPARE(model.rowCount(), 2);
    model.search("PR");
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.index(0).data().toString(), QStringLiteral("hat"));
    model.addAsset({QImage(), m_dir.filePath("model/propeller.png"), {}});
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.assetCount(), 3);
    model.search("");
    QCOMPARE(model.rowCount(), 3);

    std::unique_ptr<QMimeData> mime(model.mimeData({model.index(0)}));
    QVERIFY(mime);
    QCOMPARE(qvariant_cast<QImage>(mime->imageData()).size(), QSize(40, 30));
    QCOMPARE(mime->text(), QStringLiteral("hat;prop"));
    QCOMPARE(mime->data("path"), picture.toUtf8());
    QVERIFY(!mime->hasUrls());
    // An image that is gone cannot be dragged.
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("unable to drag .*shoe.png"));
    QVERIFY(!model.mimeData({model.index(1)}));
}

void TestAssetLibrary::shippedGroupsLoadWhole()
{
    TSAssetGroups groups(BONESTAGE_SOURCE_DIR "/Resources/assets", TSAssetGroups::defaultGroupNames(),
                         m_dir.filePath("own-shipped"), "categories");
    TSAssetsLoader loader;
    loader.setCacheFolder(m_dir.filePath("cache-shipped"));
    QSignalSpy loaded(&loader, &TSAssetsLoader::assetLoaded);
    QSignalSpy done(&loader, &TSAssetsLoader::groupLoaded);
    const int expected[] = {20, 12};
    for (int group = 0; group < 2; ++group) {
        loaded.clear();
        loader.loadGroup(groups.indexFile(group), groups.rootFolder(group), {64, 64}, Qt::KeepAspectRatio);
        QVERIFY(done.wait(10000));
        QCOMPARE(loaded.size(), expected[group]);
        for (const QList<QVariant>& signal : qAsConst(loaded)) {
            const auto asset = signal.first().value<TSIconAsset>();
            QVERIFY2(!asset.tags.isEmpty() && asset.path.startsWith(groups.folder(group)),
                     qPrintable(asset.path));
        }
    }
}

BONESTAGE_GUI_TEST_MAIN(TestAssetLibrary)
#include "tst_AssetLibrary.moc"
