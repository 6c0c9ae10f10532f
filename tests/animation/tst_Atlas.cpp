// Texture atlases: placement, the sprite-frame property list, and sprites made from PNG files.
#include "AnimationModelClasses.h"
#include "AtlasPacker.h"
#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"
#include "TSModelAtlas.h"
#include "TSModelController.h"
#include "TSModelSprite.h"
#include "TSModelSpriteContainer.h"

#include "ModelSupport.h"
#include "TestMain.h"

#include <QPainter>
#include <QtTest>

using namespace cocos2d;

namespace {

TSModelController* controller()
{
    return TSModelController::instance();
}

// A sprite whose kept size is w × h (trimmed out of a larger transparent image).
TSModelSprite* spriteOfSize(int w, int h, const QSize& source = QSize(), const QPoint& offset = QPoint())
{
    const QSize size = source.isValid() ? source : QSize(w, h);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(QRect(offset, QSize(w, h)), QColor(30, 160, 220));
    auto* sprite = new TSModelSprite();
    sprite->setSourceImage(image);
    sprite->trim();
    return test::added(sprite);
}

QString entry(CCDictionary* frame, const char* key)
{
    return QString::fromStdString(frame->valueForKey(key)->string());
}

} // namespace

class TestAtlas : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void packerSplitsRightThenBelow();
    void tallestSpriteIsPlacedFirst();
    void frameListOfTrimmedSprite();
    void newAtlasesAreNumberedAndFoundForContainers();
    void spritesFromPngFiles();
    void deletingSpriteRepacks();

private:
    QTemporaryDir m_dir;
};

void TestAtlas::initTestCase()
{
    AnimationModelClasses::registerAll();
}

void TestAtlas::init()
{
    TSModelController::destroyInstance();
}

void TestAtlas::packerSplitsRightThenBelow()
{
    AtlasPacker packer(QSize(100, 100));
    QCOMPARE(packer.insert(QSize(60, 40)), std::optional<QPoint>(QPoint(0, 0)));
    QCOMPARE(packer.insert(QSize(40, 40)), std::optional<QPoint>(QPoint(60, 0)));
    QCOMPARE(packer.insert(QSize(50, 30)), std::optional<QPoint>(QPoint(0, 40)));
    QCOMPARE(packer.insert(QSize(101, 1)), std::nullopt);
    QCOMPARE(packer.insert(QSize(50, 30)), std::optional<QPoint>(QPoint(50, 40)));
    QCOMPARE(packer.insert(QSize(100, 31)), std::nullopt);
    QCOMPARE(packer.insert(QSize(100, 30)), std::optional<QPoint>(QPoint(0, 70)));
}

void TestAtlas::tallestSpriteIsPlacedFirst()
{
    TSModelSprite* wide = spriteOfSize(100, 50);
    TSModelSprite* tall = spriteOfSize(60, 80);
    auto* atlas = test::added(new TSModelAtlas());
    QVERIFY(TSModelAtlas::fits(atlas, wide));
    atlas->sprites().append(wide);
    atlas->sprites().append(tall);
    atlas->pack();
    QCOMPARE(tall->pos(), QPointF(0, 0));
    QCOMPARE(wide->pos(), QPointF(64, 0));
    // The list keeps the placement order.
    QCOMPARE(atlas->sprites().at(0), tall);
}

void TestAtlas::frameListOfTrimmedSprite()
{
    TSModelSprite* sprite = spriteOfSize(10, 10, QSize(100, 80), QPoint(10, 20));
    TSModelAtlas* atlas = TSModelAtlas::addSprite(sprite);
    CCDictionary* list = atlas->frameList();
    auto* frames = list->objectForKeyAs<CCDictionary>("frames");
    QVERIFY(frames);
    auto* frame = frames->objectForKeyAs<CCDictionary>(CCString::format("TSModelSprite_ID%u", sprite->id()));
    QVERIFY(frame);
    QCOMPARE(entry(frame, "frame"), QStringLiteral("{{0, 0}, {10, 10}}"));
    QCOMPARE(entry(frame, "offset"), QStringLiteral("{-35, 15}"));
    QCOMPARE(entry(frame, "rotated"), QStringLiteral("false"));
    QCOMPARE(entry(frame, "sourceColorRect"), QStringLiteral("{{10, 20}, {10, 10}}"));
    QCOMPARE(entry(frame, "sourceSize"), QStringLiteral("{100, 80}"));
    auto* metadata = list->objectForKeyAs<CCDictionary>("metadata");
    QStringList keys;
    for (const auto& element : metadata->elements()) {
        keys << QString::fromStdString(element.strKey) + "=" +
                    QString::fromStdString(static_cast<CCString*>(element.object)->string());
    }
    const QString texture = QStringLiteral("atlas_ID%1.png").arg(atlas->id());
    QCOMPARE(keys, QStringList({"format=2", "realTextureFileName=" + texture, "size={2048, 2048}",
                                "smartupdate=$Tessel:Smartupdate:$", "textureFileName=" + texture}));

    // The written property list reads back the same.
    CCDictionary* read = CCDictionary::createWithContentsOfFile(atlas->plistPath());
    QVERIFY(read);
    auto* readFrame = read->objectForKeyAs<CCDictionary>("frames")->objectForKeyAs<CCDictionary>(
        CCString::format("TSModelSprite_ID%u", sprite->id()));
    QCOMPARE(entry(readFrame, "offset"), QStringLiteral("{-35, 15}"));
    QCOMPARE(QString::fromStdString(read->objectForKeyAs<CCDictionary>("metadata")->valueForKey("size")->string()),
             QStringLiteral("{2048, 2048}"));
    const QImage image(atlas->imagePath());
    QCOMPARE(image.size(), QSize(2048, 2048));
    QCOMPARE(qAlpha(image.pixel(5, 5)), 255);
    QCOMPARE(qAlpha(image.pixel(12, 12)), 0);
}

void TestAtlas::newAtlasesAreNumberedAndFoundForContainers()
{
    // Sprites that need a whole atlas each, then a small one that fits beside the first.
    QList<TSModelSprite*> sprites;
    QStringList names;
    for (const int side : {2000, 2000, 2000, 20}) {
        sprites << spriteOfSize(side, side);
        names << QString::fromStdString(TSModelAtlas::addSprite(sprites.last())->name());
    }
    QCOMPARE(names, QStringList({"Atlas#1", "Atlas#2", "Atlas#3", "Atlas#1"}));

    auto* container = test::added(new TSModelSpriteContainer());
    container->appendSprite(sprites.at(3));
    container->appendSprite(sprites.at(1));
    const QList<TSModelAtlas*> atlases = TSModelAtlas::atlasesOf(container);
    QCOMPARE(atlases.size(), 2);
    QCOMPARE(atlases.at(0)->name(), std::string("Atlas#1"));
    QCOMPARE(atlases.at(1)->name(), std::string("Atlas#2"));
    QVERIFY(TSModelAtlas::atlasesOf(nullptr).isEmpty());

    // A sprite too large for every atlas gets one of its own.
    TSModelSprite* huge = spriteOfSize(2100, 10);
    TSModelAtlas* own = TSModelAtlas::addSprite(huge);
    QCOMPARE(own->name(), std::string("Atlas#4"));
    QCOMPARE(huge->pos(), QPointF(0, 0));
    QCOMPARE(own->sprites().count(), 1u);
}

void TestAtlas::spritesFromPngFiles()
{
    QImage image(100, 80, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(QRect(10, 20, 50, 30), Qt::red);
    const QString png = m_dir.filePath("wing.png");
    QVERIFY(image.save(png));
    // A sprite kept whole keeps the transparent border and stays out of atlases.
    TSModelSprite* whole = TSModelSprite::createFromFile(png, true);
    QVERIFY(whole);
    QCOMPARE(whole->size(), QSizeF(100, 80));
    QCOMPARE(controller()->modelsOfClass(TSModelAtlas::kClassName), nullptr);

    TSModelSprite* sprite = TSModelSprite::createFromFile(png, false);
    QVERIFY(sprite);
    QCOMPARE(sprite->name(), std::string("wing"));
    QCOMPARE(sprite->size(), QSizeF(50, 30));
    QCOMPARE(QImage(sprite->imagePath()).size(), QSize(50, 30));
    CCArray* atlases = controller()->modelsOfClass(TSModelAtlas::kClassName);
    QVERIFY(atlases && atlases->count() == 1);
    auto* atlas = static_cast<TSModelAtlas*>(atlases->objectAtIndex(0));
    QVERIFY(atlas->sprites().contains(sprite));
    QVERIFY(QFileInfo::exists(atlas->imagePath()));
    QVERIFY(QFileInfo::exists(atlas->plistPath()));
}

void TestAtlas::deletingSpriteRepacks()
{
    TSModelSprite* tall = spriteOfSize(60, 80);
    TSModelSprite* wide = spriteOfSize(100, 50);
    TSModelAtlas::addSprite(tall);
    TSModelAtlas* atlas = TSModelAtlas::addSprite(wide);
    QCOMPARE(wide->pos(), QPointF(64, 0));
    tall->removeFromController();
    QCOMPARE(atlas->sprites().count(), 1u);
    QCOMPARE(wide->pos(), QPointF(0, 0));
    QCOMPARE(controller()->modelWithId(tall->id()), nullptr);
}

BONESTAGE_GUI_TEST_MAIN(TestAtlas)
#include "tst_Atlas.moc"
