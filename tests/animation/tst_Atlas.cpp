// Texture atlases: placement, the sprite-frame property list, and sprites made from PNG files.
#include "AnimationModelClasses.h"
#include "AtlasPacker.h"
#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"
#include "SpriteSheet.h"
#include "TSModelAtlas.h"
#include "TSModelController.h"
#include "TSModelSprite.h"
#include "TSModelSpriteContainer.h"

#include "ModelSupport.h"
#include "TestFiles.h"
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

// The text entries of a property-list dictionary as "key=value", in key order.
QStringList entries(CCDictionary* dict)
{
    QStringList list;
    for (const auto& element : dict->elements()) {
        if (const auto* text = dynamic_cast<CCString*>(element.object)) {
            list << QString::fromStdString(element.strKey) + "=" + QString::fromStdString(text->string());
        }
    }
    list.sort();
    return list;
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
    void spriteSheetOfAFolder();
    void spriteSheetGrowsToFit();
    void spriteSheetRefusals();

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
    const QStringList frameEntries{"frame={{0, 0}, {10, 10}}", "offset={-35, 15}", "rotated=false",
                                   "sourceColorRect={{10, 20}, {10, 10}}", "sourceSize={100, 80}"};
    QCOMPARE(entries(frame), frameEntries);
    const QString texture = QStringLiteral("atlas_ID%1.png").arg(atlas->id());
    const QStringList metadata{"format=2", "realTextureFileName=" + texture, "size={2048, 2048}",
                               "smartupdate=$Tessel:Smartupdate:$", "textureFileName=" + texture};
    QCOMPARE(entries(list->objectForKeyAs<CCDictionary>("metadata")), metadata);

    // The written property list reads back the same.
    CCDictionary* read = CCDictionary::createWithContentsOfFile(atlas->plistPath());
    QVERIFY(read);
    QCOMPARE(entries(read->objectForKeyAs<CCDictionary>("frames")->objectForKeyAs<CCDictionary>(
                 CCString::format("TSModelSprite_ID%u", sprite->id()))),
             frameEntries);
    QCOMPARE(entries(read->objectForKeyAs<CCDictionary>("metadata")), metadata);
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

void TestAtlas::spriteSheetOfAFolder()
{
    const QString folder = m_dir.filePath("sheet pngs");
    QImage wing(100, 80, QImage::Format_ARGB32);
    wing.fill(Qt::transparent);
    QPainter(&wing).fillRect(QRect(10, 20, 50, 30), QColor(200, 40, 40, 128));
    QImage body(60, 120, QImage::Format_ARGB32);
    body.fill(QColor(20, 90, 200));
    QVERIFY(QDir().mkpath(folder + "/sub") && wing.save(folder + "/wing.png") && body.save(folder + "/body.PNG"));
    // Neither other files nor subfolders are packed.
    QVERIFY(body.save(folder + "/sub/ignored.png") && test::writeFile(folder + "/notes.txt", "x"));

    const QString base = m_dir.filePath("out/sheets/hero");
    const SpriteSheet::Result result = SpriteSheet::pack(folder, base + ".plist");
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.sprites, 2);
    QCOMPARE(result.imagePath, base + ".png");
    QCOMPARE(result.plistPath, base + ".plist");
    // The tallest first at the corner, the trimmed wing to its right past the padding.
    QCOMPARE(result.size, QSize(128, 128));
    const QImage atlas(base + ".png");
    QCOMPARE(atlas.size(), QSize(128, 128));
    QCOMPARE(atlas.convertToFormat(QImage::Format_ARGB32).copy(0, 0, 60, 120), body);
    QCOMPARE(atlas.convertToFormat(QImage::Format_ARGB32).copy(64, 0, 50, 30),
             wing.copy(10, 20, 50, 30));
    QCOMPARE(qAlpha(atlas.pixel(62, 10)), 0);

    CCDictionary* list = CCDictionary::createWithContentsOfFile(base + ".plist");
    QVERIFY(list);
    auto* frames = static_cast<CCDictionary*>(list->objectForKey("frames"));
    QVERIFY(frames);
    QCOMPARE(frames->count(), 2u);
    auto* wingFrame = static_cast<CCDictionary*>(frames->objectForKey("wing.png"));
    auto* bodyFrame = static_cast<CCDictionary*>(frames->objectForKey("body.PNG"));
    QVERIFY(wingFrame && bodyFrame);
    QCOMPARE(entries(wingFrame), QStringList({"frame={{64, 0}, {50, 30}}", "offset={-15, 5}", "rotated=false",
                                              "sourceColorRect={{10, 20}, {50, 30}}", "sourceSize={100, 80}"}));
    // An image kept whole sits at no offset: "0", never "-0", which readers may refuse.
    QCOMPARE(entries(bodyFrame), QStringList({"frame={{0, 0}, {60, 120}}", "offset={0, 0}", "rotated=false",
                                              "sourceColorRect={{0, 0}, {60, 120}}", "sourceSize={60, 120}"}));
    auto* metadata = static_cast<CCDictionary*>(list->objectForKey("metadata"));
    QVERIFY(metadata);
    QCOMPARE(entries(metadata), QStringList({"format=2", "realTextureFileName=hero.png", "size={128, 128}",
                                             "smartupdate=$Tessel:Smartupdate:$", "textureFileName=hero.png"}));
    // Nothing of the document's atlases: no model, no temporary file left.
    QCOMPARE(controller()->modelsOfClass(TSModelAtlas::kClassName), nullptr);
    QCOMPARE(QDir(m_dir.filePath("out/sheets")).entryList(QDir::Files),
             QStringList({"hero.plist", "hero.png"}));

    // Packed again into the folder it reads, the atlas is not one of its own images.
    const SpriteSheet::Result again = SpriteSheet::pack(folder, folder + "/wing sheet");
    QVERIFY2(again.ok(), qPrintable(again.error));
    QCOMPARE(SpriteSheet::pack(folder, folder + "/wing sheet").sprites, 2);
}

void TestAtlas::spriteSheetGrowsToFit()
{
    struct Case
    {
        QList<QSize> images;
        QSize atlas;
    };
    // The padding counts: 124 + 4 fits 128, 125 + 4 does not. The smallest area wins, and of
    // equal areas the wider one (three 204 × 104 requests fit 512 × 256, not 256 × 512).
    const QList<Case> cases{{{QSize(124, 124)}, QSize(128, 128)},
                            {{QSize(125, 10)}, QSize(256, 128)},
                            {{QSize(10, 125)}, QSize(128, 256)},
                            {{QSize(200, 100), QSize(200, 100), QSize(200, 100)}, QSize(512, 256)},
                            {{QSize(4092, 10)}, QSize(4096, 128)}};
    int index = 0;
    for (const Case& c : cases) {
        const QString folder = m_dir.filePath(QStringLiteral("grow %1").arg(++index));
        QVERIFY(QDir().mkpath(folder));
        for (int i = 0; i < c.images.size(); ++i) {
            QImage image(c.images.at(i), QImage::Format_ARGB32);
            image.fill(Qt::black);
            QVERIFY(image.save(QStringLiteral("%1/%2.png").arg(folder).arg(i)));
        }
        const SpriteSheet::Result result = SpriteSheet::pack(folder, folder + "/atlas");
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.size, c.atlas);
        QCOMPARE(QImage(folder + "/atlas.png").size(), c.atlas);
    }
}

void TestAtlas::spriteSheetRefusals()
{
    const QString empty = m_dir.filePath("refusals/empty");
    const QString broken = m_dir.filePath("refusals/broken");
    const QString wide = m_dir.filePath("refusals/wide");
    const QString good = m_dir.filePath("refusals/good");
    QImage pixel(1, 1, QImage::Format_ARGB32);
    pixel.fill(Qt::white);
    QImage tooWide(4093, 1, QImage::Format_ARGB32);
    tooWide.fill(Qt::white);
    QVERIFY(QDir().mkpath(empty) && test::writeFile(empty + "/readme.txt", "no images"));
    QVERIFY(test::writeFile(broken + "/a.png", "not a png") && pixel.save(broken + "/b.png"));
    QVERIFY(QDir().mkpath(wide) && tooWide.save(wide + "/a.png") && pixel.save(wide + "/b.png"));
    QVERIFY(QDir().mkpath(good) && pixel.save(good + "/a.png"));
    const QString blocker = m_dir.filePath("refusals/blocker");
    QVERIFY(test::writeFile(blocker, "a file"));
    const QString out = m_dir.filePath("refusals/out");

    struct Case
    {
        QString folder;
        QString base;
        SpriteSheet::Failure failure;
        QString error;
    };
    const QList<Case> cases{
        {empty, out, SpriteSheet::Failure::NoImages, "There is no PNG file in " + empty + "."},
        {empty + "/missing", out, SpriteSheet::Failure::NoImages, "There is no folder " + empty + "/missing."},
        {broken, out, SpriteSheet::Failure::UnreadableImage, "Cannot read " + broken + "/a.png: "},
        {wide, out, SpriteSheet::Failure::TooLarge, "The 2 images of " + wide + " do not fit into one 4096 × 4096 atlas."},
        {good, blocker + "/atlas", SpriteSheet::Failure::WriteFailed,
         "Cannot write " + blocker + "/atlas.png and " + blocker + "/atlas.plist."},
    };
    for (const Case& c : cases) {
        const SpriteSheet::Result result = SpriteSheet::pack(c.folder, c.base);
        QCOMPARE(result.failure, c.failure);
        QVERIFY2(result.error.startsWith(c.error), qPrintable(result.error));
        QVERIFY(!QFileInfo::exists(out + ".png") && !QFileInfo::exists(out + ".plist"));
    }
    QCOMPARE(test::fileBytes(blocker), QByteArray("a file"));
}

BONESTAGE_GUI_TEST_MAIN(TestAtlas)
#include "tst_Atlas.moc"
