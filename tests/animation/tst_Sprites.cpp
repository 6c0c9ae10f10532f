// Images, sprites and containers: trimming, colour adjustment, playback and stored form.
#include "AnimationModelClasses.h"
#include "CCDictionary.h"
#include "CCString.h"
#include "ColorAdjustment.h"
#include "ImageFile.h"
#include "ModelSupport.h"
#include "SpriteTrimming.h"
#include "TSGraphicsPixmapModel.h"
#include "TSModelController.h"
#include "TSModelObjectImage.h"
#include "TSModelSprite.h"
#include "TSModelSpriteContainer.h"
#include "TSPAttributeBoolean.h"
#include "TSPAttributePoint.h"
#include "TSPAttributeSprite.h"

#include "TestFiles.h"
#include "TestMain.h"

#include <QPainter>
#include <QtTest>

using namespace cocos2d;

namespace {

QImage imageWithOpaqueRect(const QSize& size, const QRect& opaque, QColor color = QColor(200, 100, 50))
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(opaque, color);
    return image;
}

TSModelSprite* addedSprite(const QImage& image)
{
    auto* sprite = new TSModelSprite();
    sprite->setSourceImage(image);
    return test::added(sprite);
}

} // namespace

class TestSprites : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void trimmingKeepsTheOpaquePixels();
    void colourAdjustmentOfPixels_data();
    void colourAdjustmentOfPixels();
    void colourAdjustmentOfImages();
    void spriteGeometryIsStoredWithTwoDecimals();
    void containerPlaybackAndDuration();
    void containerLoadRules();
    void containerAdjustmentsReachSpritesAndObjects();
    void imageModelStoredForm();
    void imageFileRefusesHugeAndBrokenFiles();

private:
    QTemporaryDir m_dir;
};

void TestSprites::initTestCase()
{
    AnimationModelClasses::registerAll();
}

void TestSprites::init()
{
    TSModelController::destroyInstance();
}

void TestSprites::trimmingKeepsTheOpaquePixels()
{
    const QImage image = imageWithOpaqueRect(QSize(100, 80), QRect(10, 20, 50, 30));
    QCOMPARE(SpriteTrimming::keptRect(image), QRect(10, 20, 50, 30));
    TSModelSprite sprite;
    sprite.setSourceImage(image);
    QCOMPARE(sprite.size(), QSizeF(100, 80));
    sprite.trim();
    QCOMPARE(sprite.offset(), QPointF(10, 20));
    QCOMPARE(sprite.size(), QSizeF(50, 30));
    QCOMPARE(sprite.sourceRect(), QRectF(10, 20, 50, 30));
    QCOMPARE(sprite.sourceSize(), QSizeF(100, 80));
    QCOMPARE(sprite.sourceImage().size(), QSize(50, 30));
    QCOMPARE(qAlpha(sprite.sourceImage().pixel(0, 0)), 255);

    // Nothing visible keeps one transparent pixel.
    QImage clear(40, 30, QImage::Format_ARGB32_Premultiplied);
    clear.fill(Qt::transparent);
    QCOMPARE(SpriteTrimming::keptRect(clear), QRect(0, 0, 1, 1));
    TSModelSprite empty;
    empty.setSourceImage(clear);
    empty.trim();
    QCOMPARE(empty.size(), QSizeF(1, 1));
    QCOMPARE(empty.sourceSize(), QSizeF(40, 30));
    QCOMPARE(qAlpha(empty.sourceImage().pixel(0, 0)), 0);
    QCOMPARE(SpriteTrimming::keptRect(QImage()), QRect(0, 0, 1, 1));
    // One visible corner pixel.
    QImage corner = clear;
    corner.setPixel(39, 29, qRgba(255, 255, 255, 255));
    QCOMPARE(SpriteTrimming::keptRect(corner), QRect(39, 29, 1, 1));
}

void TestSprites::colourAdjustmentOfPixels_data()
{
    QTest::addColumn<QVector<float>>("adjustment"); // brightness, contrast, hue, saturation, opacity
    QTest::addColumn<uint>("pixel");
    QTest::addColumn<uint>("expected");
    using V = QVector<float>;
    QTest::newRow("brighter") << V{0.5f, 0, 0, 0, 1} << qRgba(100, 0, 255, 255) << qRgba(177, 127, 255, 255);
    QTest::newRow("brightest") << V{1, 0, 0, 0, 1} << qRgba(3, 90, 200, 128) << qRgba(255, 255, 255, 128);
    QTest::newRow("contrast") << V{0, 0.5f, 0, 0, 1} << qRgba(100, 200, 0, 255) << qRgba(150, 255, 0, 255);
    QTest::newRow("half opacity") << V{0, 0, 0, 0, 0.5f} << qRgba(10, 20, 30, 255) << qRgba(10, 20, 30, 127);
    QTest::newRow("half of translucent")
        << V{0, 0, 0, 0, 0.5f} << qRgba(10, 20, 30, 200) << qRgba(10, 20, 30, 100);
    // Red turned by a third of the circle is green; grey has no hue to turn.
    QTest::newRow("hue") << V{0, 0, 1.0f / 3.0f, 0, 1} << qRgba(255, 0, 0, 255) << qRgba(0, 255, 0, 255);
    QTest::newRow("hue of grey") << V{0, 0, 1.0f / 3.0f, 0, 1} << qRgba(80, 80, 80, 255)
                                 << qRgba(80, 80, 80, 255);
    // No saturation leaves the lightness: (200 + 0) / 2.
    QTest::newRow("grey") << V{0, 0, 0, -1, 1} << qRgba(200, 100, 0, 255) << qRgba(100, 100, 100, 255);
    QTest::newRow("transparent") << V{1, 1, 0.5f, 1, 0.2f} << qRgba(12, 34, 56, 0) << qRgba(12, 34, 56, 0);
}

void TestSprites::colourAdjustmentOfPixels()
{
    QFETCH(QVector<float>, adjustment);
    QFETCH(uint, pixel);
    const ColorAdjustment a{adjustment[0], adjustment[1], adjustment[2], adjustment[3], adjustment[4]};
    QTEST(a.adjustPixel(pixel), "expected");
}

void TestSprites::colourAdjustmentOfImages()
{
    // Premultiplication is undone around the adjustment; transparent pixels stay as they are.
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(100, 100, 100, 255));
    image.setPixel(1, 0, qRgba(0, 0, 0, 0));
    ColorAdjustment half;
    half.brightness = 0.5f;
    const QImage adjusted = half.apply(image).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(adjusted.pixel(0, 0), qRgba(177, 177, 177, 255));
    QCOMPARE(adjusted.pixel(1, 0), qRgba(0, 0, 0, 0));
    const ColorAdjustment all{1.0f, 1.0f, 0.5f, 1.0f, 0.2f};
    QImage clear(3, 3, QImage::Format_ARGB32_Premultiplied);
    clear.fill(Qt::transparent);
    QCOMPARE(all.apply(clear), clear);
}

void TestSprites::spriteGeometryIsStoredWithTwoDecimals()
{
    TSModelSprite* sprite = addedSprite(imageWithOpaqueRect(QSize(100, 80), QRect(10, 20, 10, 10)));
    sprite->trim();
    sprite->setPos(QPointF(64, 0));
    CCDictionary* dict = sprite->attributesDictionary();
    QCOMPARE(dict->valueForKey("pos")->string(), std::string("{64.00,0.00}"));
    QCOMPARE(dict->valueForKey("offset")->string(), std::string("{10.00,20.00}"));
    QCOMPARE(dict->valueForKey("size")->string(), std::string("{10.00,10.00}"));
    QCOMPARE(dict->valueForKey("sourceSize")->string(), std::string("{100.00,80.00}"));
    QCOMPARE(dict->valueForKey("sourceRect")->string(), std::string("{{10.00,20.00},{10.00,10.00}}"));
    TSModelSprite loaded;
    loaded.loadAttributes(dict);
    QCOMPARE(loaded.pos(), QPointF(64, 0));
    QCOMPARE(loaded.sourceRect(), QRectF(10, 20, 10, 10));
    QCOMPARE(loaded.sourceSize(), QSizeF(100, 80));
}

void TestSprites::containerPlaybackAndDuration()
{
    auto* container = test::added(new TSModelSpriteContainer());
    QCOMPARE(container->currentImage(), QImage());
    QCOMPARE(container->currentOffset(), QPointF());
    QCOMPARE(container->currentSourceSize(), QSizeF());
    for (int i = 0; i < 12; ++i) {
        container->appendSprite(addedSprite(imageWithOpaqueRect(QSize(8 + i, 8), QRect(0, 0, 4, 4))));
    }
    QCOMPARE(container->duration(), 0.2f);
    container->setAnimationSpeed(2.0f);
    container->setTime(0.125f);
    QCOMPARE(container->evaluationPosition(), 0.25f);
    QCOMPARE(container->currentFrameIndex(), 3);
    QCOMPARE(container->currentSourceSize(), QSizeF(11, 8));
    // Before the start the frames count back from the last one: trunc(-1.2) = -1 is frame 11.
    container->setTime(-0.01f);
    QCOMPARE(container->currentFrameIndex(), 11);

    // Painting moves the frame by minus the anchor and centres it on the untrimmed image.
    QImage canvas(40, 40, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    container->setTime(0.0f);
    container->setAnchorPoint(QPointF(-20, -20));
    QPainter painter(&canvas);
    container->paint(&painter);
    painter.end();
    QCOMPARE(qAlpha(canvas.pixel(16, 16)), 255); // 20 − 8/2
    QCOMPARE(qAlpha(canvas.pixel(24, 24)), 0);
}

void TestSprites::containerLoadRules()
{
    TSModelSprite* first = addedSprite(imageWithOpaqueRect(QSize(4, 4), QRect(0, 0, 4, 4)));
    TSModelSprite* second = addedSprite(imageWithOpaqueRect(QSize(4, 4), QRect(0, 0, 4, 4)));
    auto* skeleton = test::added(new TSModel("TSModelSkeleton", "not a sprite"));

    auto* dict = CCDictionary::create();
    auto* ids = CCArray::create();
    for (unsigned id : {first->id(), skeleton->id(), second->id(), 424242u}) {
        ids->addObject(CCString::createWithFormat("%u", id));
    }
    dict->setObject(ids, "sprites");
    dict->setObject(CCString::create("0"), "animationSpeed");
    TSModelSpriteContainer container;
    container.loadAttributes(dict);
    container.loadConnections(CCDictionary::create());
    QCOMPARE(container.spriteCount(), 2);
    QCOMPARE(container.spriteAt(1), second);
    QCOMPARE(container.animationSpeed(), 1.0f);
    QCOMPARE(container.duration(), 2.0f / 60.0f);
    CCDictionary* written = container.attributesDictionary();
    QCOMPARE(written->valueForKey("animationSpeed")->string(), std::string("1.000000"));
    const auto* writtenIds = written->objectForKeyAs<CCArray>("sprites");
    QCOMPARE(writtenIds->count(), 2u);
    QCOMPARE(static_cast<CCString*>(writtenIds->objectAtIndex(1))->intValue(), int(second->id()));
}

void TestSprites::containerAdjustmentsReachSpritesAndObjects()
{
    auto* container = test::added(new TSModelSpriteContainer());
    TSModelSprite* sprite = addedSprite(imageWithOpaqueRect(QSize(2, 2), QRect(0, 0, 2, 2), QColor(100, 100, 100)));
    container->appendSprite(sprite);
    container->setBrightness(0.5f);
    QCOMPARE(sprite->adjustment().brightness, 0.5f);
    QCOMPARE(qRed(sprite->displayImage().pixel(0, 0)), 177);
    container->setOpacity(0.5f);
    QCOMPARE(qAlpha(sprite->displayImage().pixel(0, 0)), 127);

    // A sprite attribute's flag 1 keeps the container's frames whole.
    TSModelObjectImage object;
    object.image()->setSpriteFlag(1);
    object.image()->setSprite(container);
    QVERIFY(sprite->keepWhole());
    QCOMPARE(object.spriteContainer(), container);

    // Objects take their size and opacity from the container of their image.
    TSModelObject plain;
    QCOMPARE(plain.name(), std::string("Untitled"));
    QCOMPARE(plain.size(), QSizeF(100, 100));
    QCOMPARE(plain.opacity(), 1.0f);
    QCOMPARE(plain.scale()->value(), (CCPoint{1, 1}));
    plain.setZDepth(-3);
    QCOMPARE(plain.attributesDictionary()->valueForKey("zDepth")->string(), std::string("-3"));

    TSModelObjectImage image;
    QVERIFY(image.stickToEdge()->value());
    image.image()->setSprite(container);
    QCOMPARE(image.size(), QSizeF(2, 2));
    QCOMPARE(image.opacity(), 0.5f);
}

void TestSprites::imageModelStoredForm()
{
    QImage picture(16, 8, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::red);
    const QTransform transform = QTransform().scale(2, 3).rotate(10).translate(4, 5);
    TSGraphicsPixmapModel* model = TSGraphicsPixmapModel::fromItemState(QPointF(7, -2), 3, transform, 10, picture);
    model->setName("hand");
    model->setSpriteId(41);
    model->setTags({"left", "hand"});
    test::added(model);
    CCDictionary* dict = model->attributesDictionary();
    QCOMPARE(dict->valueForKey("spriteId")->string(), std::string("41"));
    QCOMPARE(dict->objectForKeyAs<CCDictionary>("tags")->valueForKey("value")->string(), std::string("left,hand"));
    // An image shown as it is stores no colour adjustment; an adjusted one stores all five values
    // and keeps its picture unadjusted.
    QVERIFY(!dict->objectForKey("Opacity"));
    ColorAdjustment adjustment;
    adjustment.opacity = 0.5f;
    adjustment.hue = -0.25f;
    model->setAdjustment(adjustment);
    dict = model->attributesDictionary();
    QCOMPARE(dict->valueForKey("Opacity")->string(), std::string("0.500000"));
    QCOMPARE(dict->valueForKey("Brightness")->string(), std::string("0.000000"));
    QCOMPARE(model->image(), picture);
    QCOMPARE(model->adjustedImage().pixelColor(0, 0).alpha(), 127);

    QVERIFY(test::roundTripModels(m_dir.path()));
    auto* loaded = static_cast<TSGraphicsPixmapModel*>(
        TSModelController::instance()->modelsOfClass(TSGraphicsPixmapModel::kClassName)->objectAtIndex(0));
    QCOMPARE(loaded->name(), std::string("hand"));
    QCOMPARE(loaded->pos(), QPointF(7, -2));
    QCOMPARE(loaded->z(), 3.0f);
    QCOMPARE(loaded->spriteId(), 41);
    QCOMPARE(loaded->adjustment().opacity, 0.5f);
    QCOMPARE(loaded->adjustment().hue, -0.25f);
    QCOMPARE(loaded->tags(), QStringList({"left", "hand"}));
    // Points keep three decimals in the files.
    QVERIFY((loaded->scale() - QPointF(transform.m11(), transform.m22())).manhattanLength() < 2e-3);
    const QPointF probe(1, 1);
    QVERIFY((loaded->transform().map(probe) - transform.map(probe)).manhattanLength() < 1e-3);
    QVERIFY(loaded->imagePath().endsWith("/images/TSGraphicsPixmapModel_ID" + QString::number(loaded->id()) + ".png"));
}

void TestSprites::imageFileRefusesHugeAndBrokenFiles()
{
    QVERIFY(!ImageFile::acceptableSize(QSize(20000, 10)));
    QVERIFY(!ImageFile::acceptableSize(QSize(10000, 10000)));
    QVERIFY(!ImageFile::acceptableSize(QSize(0, 10)));
    QVERIFY(ImageFile::acceptableSize(QSize(4096, 4096)));

    const QString broken = m_dir.filePath("broken.png");
    QVERIFY(test::writeFile(broken, "\x89PNG\r\n\x1a\nthis is not really a png"));
    QString error;
    QVERIFY(ImageFile::read(broken, &error).isNull());
    QVERIFY(!error.isEmpty());
    QVERIFY(ImageFile::read(m_dir.filePath("missing.png")).isNull());

    const QString good = m_dir.filePath("good.png");
    QVERIFY(imageWithOpaqueRect(QSize(6, 5), QRect(1, 1, 2, 2)).save(good));
    const QImage read = ImageFile::read(good);
    QCOMPARE(read.size(), QSize(6, 5));
    QCOMPARE(read.format(), QImage::Format_ARGB32_Premultiplied);

    QVERIFY(!TSModelSprite::createFromFile(m_dir.filePath("nothing.png"), false));
    QVERIFY(!TSModelSpriteContainer::createFromFiles({m_dir.filePath("nothing.png")}, false));
    QCOMPARE(TSModelController::instance()->modelsOfClass(TSModelSprite::kClassName), nullptr);
}

BONESTAGE_GUILESS_TEST_MAIN(TestSprites)
#include "tst_Sprites.moc"
