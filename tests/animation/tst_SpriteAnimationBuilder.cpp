// Frame animations made from PNG files: name order, trimming, one batch of atlas files, the
// frames as shown, and bad input that leaves nothing behind.
#include "AnimationModelClasses.h"
#include "CCArray.h"
#include "CCDictionary.h"
#include "SpriteAnimationBuilder.h"
#include "TSModelAtlas.h"
#include "TSModelController.h"
#include "TSModelSprite.h"
#include "TSModelSpriteContainer.h"
#include "TestMain.h"

#include <QDir>
#include <QPainter>
#include <QtTest>

namespace {

TSModelController* controller()
{
    return TSModelController::instance();
}

int modelCount(const char* className)
{
    cocos2d::CCArray* models = controller()->modelsOfClass(className);
    return models ? static_cast<int>(models->count()) : 0;
}

QStringList workingFiles(const QString& folder)
{
    return QDir(controller()->workingPath() + "/" + folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestSpriteAnimationBuilder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { AnimationModelClasses::registerAll(); }
    void init() { TSModelController::destroyInstance(); }
    void framesInNameOrderTrimmedAndCentred();
    void twoHundredFramesFillTwoAtlases();
    void badInputMakesNothing_data();
    void badInputMakesNothing();
    void saveAllDropsEmptyAtlases();

private:
    /// A w × h PNG, transparent but for an opaque rectangle.
    QString png(const QString& name, const QSize& size, const QRect& opaque, const QColor& color = Qt::red);

    QTemporaryDir m_dir;
};

QString TestSpriteAnimationBuilder::png(const QString& name, const QSize& size, const QRect& opaque,
                                        const QColor& color)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(opaque, color);
    const QString path = m_dir.filePath(name);
    return image.save(path, "PNG") ? path : QString();
}

void TestSpriteAnimationBuilder::framesInNameOrderTrimmedAndCentred()
{
    const QStringList paths = {png("walk_10.png", QSize(40, 20), QRect(30, 0, 10, 20), Qt::blue),
                               png("walk_2.png", QSize(20, 10), QRect(0, 0, 20, 10), Qt::green),
                               png("walk_1.png", QSize(100, 80), QRect(10, 20, 50, 30))};
    QCOMPARE(SpriteAnimationBuilder::inNameOrder(paths), QStringList({paths[2], paths[1], paths[0]}));

    QString error;
    TSModelSpriteContainer* container = SpriteAnimationBuilder::build(paths, &error);
    QVERIFY2(container, qPrintable(error));
    QCOMPARE(QString::fromStdString(container->name()), QStringLiteral("walk_1"));
    QCOMPARE(container->spriteCount(), 3);
    QCOMPARE(container->duration(), 3 / 60.0f);
    QCOMPARE(controller()->modelWithId(container->id()), container);
    QStringList names;
    for (int i = 0; i < 3; ++i) {
        names << QString::fromStdString(container->spriteAt(i)->name());
    }
    QCOMPARE(names, QStringList({"walk_1", "walk_2", "walk_10"}));
    TSModelSprite* first = container->spriteAt(0);
    QCOMPARE(first->offset(), QPointF(10, 20));
    QCOMPARE(first->size(), QSizeF(50, 30));
    QCOMPARE(first->sourceSize(), QSizeF(100, 80));
    QVERIFY(QFileInfo(first->imagePath()).isFile());

    // One atlas holds all three; its files are written.
    QCOMPARE(modelCount(TSModelAtlas::kClassName), 1);
    TSModelAtlas* atlas = TSModelAtlas::atlasesOf(container).value(0);
    QVERIFY(atlas);
    QCOMPARE(atlas->sprites().count(), 3u);
    QCOMPARE(workingFiles("atlases"), QStringList({QStringLiteral("atlas_ID%1.plist").arg(atlas->id()),
                                                   QStringLiteral("atlas_ID%1.png").arg(atlas->id())}));
    cocos2d::CCDictionary* list = cocos2d::CCDictionary::createWithContentsOfFile(atlas->plistPath());
    QVERIFY(list);
    QCOMPARE(list->objectForKeyAs<cocos2d::CCDictionary>("frames")->count(), 3u);

    // Every frame is shown at the size of the largest, centred where its untrimmed picture is.
    QCOMPARE(container->frameSize(), QSize(100, 80));
    const QImage frame0 = container->frameImage(0);
    QCOMPARE(frame0.size(), QSize(100, 80));
    QCOMPARE(frame0.pixelColor(10, 20), QColor(Qt::red));
    QCOMPARE(frame0.pixelColor(9, 20).alpha(), 0);
    const QImage frame2 = container->frameImage(2);
    QCOMPARE(frame2.pixelColor(30 + 30, 30), QColor(Qt::blue));
    QCOMPARE(frame2.pixelColor(30 + 29, 30).alpha(), 0);
    QCOMPARE(container->frameImage(4), container->frameImage(1));
}

void TestSpriteAnimationBuilder::twoHundredFramesFillTwoAtlases()
{
    QStringList paths;
    for (int i = 0; i < 200; ++i) {
        paths << png(QStringLiteral("f%1.png").arg(i), QSize(300, 300), QRect(0, 0, 150, 140));
    }
    QString error;
    TSModelSpriteContainer* container = SpriteAnimationBuilder::build(paths, &error);
    QVERIFY2(container, qPrintable(error));
    QCOMPARE(container->spriteCount(), 200);
    QCOMPARE(QString::fromStdString(container->spriteAt(199)->name()), QStringLiteral("f199"));
    // With the padding each frame takes 154 × 144: 13 × 14 of them fill a 2048 square.
    const QList<TSModelAtlas*> atlases = TSModelAtlas::atlasesOf(container);
    QCOMPARE(atlases.size(), 2);
    QCOMPARE(atlases[0]->sprites().count(), 182u);
    QCOMPARE(atlases[1]->sprites().count(), 18u);
    for (TSModelAtlas* atlas : atlases) {
        const QImage written(atlas->imagePath());
        QCOMPARE(written.size(), QSize(2048, 2048));
        // The last sprite placed is in the written picture.
        auto* last = static_cast<TSModelSprite*>(atlas->sprites().at(atlas->sprites().count() - 1));
        QCOMPARE(written.pixelColor(last->pos().toPoint()), QColor(Qt::red));
    }
}

void TestSpriteAnimationBuilder::badInputMakesNothing_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("error");
    const QString good = png("a_good.png", QSize(30, 30), QRect(5, 5, 10, 10));
    QFile text(m_dir.filePath("notes.png"));
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a picture") > 0);
    text.close();
    QFile broken(m_dir.filePath("z_broken.png"));
    QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("\x89PNG\r\n\x1a\n broken") > 0);
    broken.close();
    QStringList many;
    for (int i = 0; i <= SpriteAnimationBuilder::kMaxFrames; ++i) {
        many << good;
    }

    QTest::newRow("nothing") << QStringList() << "There are no images to make an animation of.";
    QTest::newRow("not a png") << QStringList({good, text.fileName()}) << "\"notes.png\" is not a PNG image.";
    QTest::newRow("missing") << QStringList({good, m_dir.filePath("gone.png")})
                             << "\"gone.png\" cannot be read: No such file or directory.";
    QTest::newRow("broken") << QStringList({good, broken.fileName()})
                            << "\"z_broken.png\" cannot be read: Unable to read image data.";
    QTest::newRow("larger than an atlas")
        << QStringList({good, png("z_wide.png", QSize(4096, 8), QRect(0, 0, 4096, 8))})
        << QString::fromUtf8("\"z_wide.png\" is 4096 × 8 pixels after trimming; a frame can be at most "
                             "2044 × 2044 pixels to fit into a texture atlas.");
    QTest::newRow("all transparent") << QStringList({png("t1.png", QSize(20, 20), QRect()),
                                                     png("t2.png", QSize(20, 20), QRect())})
                                     << "Every image is fully transparent: there is nothing to show.";
    QTest::newRow("too many")
        << many << "1001 images are more than the 1000 frames an animation can be made of at once.";
}

void TestSpriteAnimationBuilder::badInputMakesNothing()
{
    QFETCH(QStringList, paths);
    QFETCH(QString, error);
    QString reason;
    QCOMPARE(SpriteAnimationBuilder::build(paths, &reason), nullptr);
    QCOMPARE(reason, error);
    QCOMPARE(modelCount(TSModelSprite::kClassName), 0);
    QCOMPARE(modelCount(TSModelSpriteContainer::kClassName), 0);
    QCOMPARE(modelCount(TSModelAtlas::kClassName), 0);
    QCOMPARE(workingFiles("images"), QStringList());
    QCOMPARE(workingFiles("atlases"), QStringList());
}

void TestSpriteAnimationBuilder::saveAllDropsEmptyAtlases()
{
    const QStringList paths = {png("b1.png", QSize(20, 20), QRect(0, 0, 20, 20)),
                               png("b2.png", QSize(20, 20), QRect(2, 2, 9, 9))};
    TSModelSpriteContainer* container = SpriteAnimationBuilder::build(paths, nullptr);
    QVERIFY(container);
    TSModelAtlas* atlas = TSModelAtlas::atlasesOf(container).value(0);
    QVERIFY(atlas);
    const unsigned id = atlas->id();
    // A recoloured frame shows in the atlas once it is written again.
    container->setBrightness(1.0f);
    QVERIFY(TSModelAtlas::saveAll());
    const QPoint second = container->spriteAt(1)->pos().toPoint();
    QCOMPARE(QImage(atlas->imagePath()).pixelColor(second), QColor(Qt::white));

    for (int i = 0; i < 2; ++i) {
        container->spriteAt(i)->removeFromController();
    }
    QVERIFY(TSModelAtlas::saveAll());
    QCOMPARE(controller()->modelWithId(id), nullptr);
    QCOMPARE(workingFiles("atlases"), QStringList());
}

BONESTAGE_GUI_TEST_MAIN(TestSpriteAnimationBuilder)
#include "tst_SpriteAnimationBuilder.moc"
