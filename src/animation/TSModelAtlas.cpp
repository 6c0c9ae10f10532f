#include "TSModelAtlas.h"

#include "AtlasPacker.h"
#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"
#include "TSModelController.h"
#include "TSModelSprite.h"
#include "TSModelSpriteContainer.h"
#include "TSPAttributeFloat.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace cocos2d;

namespace {

// Moves a complete file over target in one step: target is the old file or the new one, never
// missing or half written.
bool replaceFile(const QString& complete, const QString& target)
{
    return std::rename(QFile::encodeName(complete).constData(), QFile::encodeName(target).constData()) == 0;
}

} // namespace

TSModelAtlas::TSModelAtlas()
    : TSModel(kClassName, ""), m_width(addTypedAttribute<TSPAttributeFloat>("width")),
      m_height(addTypedAttribute<TSPAttributeFloat>("height")),
      m_padding(addTypedAttribute<TSPAttributeFloat>("padding")), m_sprites(TSModelSprite::kClassName)
{
    for (TSPAttributeFloat* side : {m_width, m_height}) {
        side->setMinimum(128.0f);
        side->setMaximum(4096.0f);
        side->setDefaultValue(2048.0f);
    }
    m_padding->setDefaultValue(4.0f);
}

int TSModelAtlas::width() const
{
    return m_width->valueAsInt();
}

int TSModelAtlas::height() const
{
    return m_height->valueAsInt();
}

int TSModelAtlas::padding() const
{
    return m_padding->valueAsInt();
}

void TSModelAtlas::setSize(int width, int height)
{
    m_width->setValue(width);
    m_height->setValue(height);
}

bool TSModelAtlas::place(bool store)
{
    CCArray* list = m_sprites.models();
    std::vector<TSModelSprite*> order;
    for (CCObject* obj : *list) {
        order.push_back(static_cast<TSModelSprite*>(obj));
    }
    std::stable_sort(order.begin(), order.end(), [](TSModelSprite* a, TSModelSprite* b) { return a->id() > b->id(); });
    std::stable_sort(order.begin(), order.end(),
                     [](TSModelSprite* a, TSModelSprite* b) { return a->size().height() > b->size().height(); });
    // The list keeps the placement order.
    for (TSModelSprite* sprite : order) {
        sprite->retain();
    }
    list->removeAllObjects();
    for (TSModelSprite* sprite : order) {
        list->addObject(sprite);
        sprite->release();
    }

    AtlasPacker packer(QSize(width(), height()));
    const int pad = padding();
    bool all = true;
    for (TSModelSprite* sprite : order) {
        const QSize request(static_cast<int>(sprite->size().width()) + pad,
                            static_cast<int>(sprite->size().height()) + pad);
        const std::optional<QPoint> placed = packer.insert(request);
        all = all && placed.has_value();
        if (store && placed) {
            sprite->setPos(*placed);
        }
    }
    return all;
}

bool TSModelAtlas::fits(TSModelAtlas* atlas, TSModelSprite* sprite)
{
    atlas->m_sprites.append(sprite);
    const bool all = atlas->place(false);
    atlas->m_sprites.remove(sprite);
    return all;
}

bool TSModelAtlas::pack()
{
    for (CCObject* obj : *m_sprites.models()) {
        static_cast<TSModelSprite*>(obj)->setPos(QPointF(0, 0));
    }
    return place(true);
}

TSModelAtlas* TSModelAtlas::findAtlasFor(TSModelSprite* sprite)
{
    TSModelController* controller = TSModelController::instance();
    unsigned existing = 0;
    if (CCArray* atlases = controller->modelsOfClass(kClassName)) {
        existing = atlases->count();
        for (CCObject* obj : *atlases) {
            auto* atlas = static_cast<TSModelAtlas*>(obj);
            if (fits(atlas, sprite)) {
                return atlas;
            }
        }
    }
    auto* atlas = new TSModelAtlas();
    atlas->setName(CCString::format("Atlas#%d", static_cast<int>(existing) + 1));
    controller->addModel(atlas, false);
    atlas->release();
    return atlas;
}

TSModelAtlas* TSModelAtlas::addSprite(TSModelSprite* sprite)
{
    TSModelAtlas* atlas = findAtlasFor(sprite);
    atlas->m_sprites.append(sprite);
    atlas->pack();
    atlas->save();
    return atlas;
}

bool TSModelAtlas::addSprites(const QList<TSModelSprite*>& sprites)
{
    QList<TSModelAtlas*> touched;
    for (TSModelSprite* sprite : sprites) {
        TSModelAtlas* atlas = findAtlasFor(sprite);
        atlas->m_sprites.append(sprite);
        atlas->pack();
        if (!touched.contains(atlas)) {
            touched.append(atlas);
        }
    }
    bool saved = true;
    for (TSModelAtlas* atlas : qAsConst(touched)) {
        if (!atlas->save()) {
            TSModelController::log("[TSModelAtlas] cannot write %s", qPrintable(atlas->imagePath()));
            saved = false;
        }
    }
    return saved;
}

bool TSModelAtlas::saveAll(QString* failedPath)
{
    CCArray* atlases = TSModelController::instance()->modelsOfClass(kClassName);
    if (!atlases) {
        return true;
    }
    std::vector<TSModelAtlas*> all;
    for (CCObject* obj : *atlases) {
        all.push_back(static_cast<TSModelAtlas*>(obj));
    }
    for (TSModelAtlas* atlas : all) {
        if (atlas->m_sprites.count() > 0) {
            if (!atlas->save()) {
                if (failedPath) {
                    *failedPath = atlas->imagePath();
                }
                return false;
            }
            continue;
        }
        // Nothing refers to an empty atlas; its files would only travel along unread.
        for (const QString& path : {atlas->imagePath(), atlas->plistPath()}) {
            if (QFile::exists(path) && !QFile::remove(path)) {
                TSModelController::log("[TSModelAtlas] cannot remove %s", qPrintable(path));
            }
        }
        TSModelController::instance()->removeModel(atlas);
    }
    return true;
}

void TSModelAtlas::removeSprite(TSModelSprite* sprite)
{
    CCArray* atlases = TSModelController::instance()->modelsOfClass(kClassName);
    if (!atlases) {
        return;
    }
    for (CCObject* obj : *atlases) {
        auto* atlas = static_cast<TSModelAtlas*>(obj);
        if (atlas->m_sprites.contains(sprite)) {
            atlas->m_sprites.remove(sprite);
            atlas->pack();
        }
    }
}

QList<TSModelAtlas*> TSModelAtlas::atlasesOf(TSModelSpriteContainer* container)
{
    QList<TSModelAtlas*> result;
    CCArray* atlases = TSModelController::instance()->modelsOfClass(kClassName);
    if (!atlases || !container) {
        return result;
    }
    for (CCObject* obj : *atlases) {
        auto* atlas = static_cast<TSModelAtlas*>(obj);
        for (CCObject* frame : *container->sprites().models()) {
            if (atlas->m_sprites.contains(static_cast<TSModel*>(frame))) {
                result.append(atlas);
                break;
            }
        }
    }
    return result;
}

QString TSModelAtlas::imagePath() const
{
    return TSModelController::instance()->workingPath() + QStringLiteral("/atlases/atlas_ID%1.png").arg(id());
}

QString TSModelAtlas::plistPath() const
{
    return TSModelController::instance()->workingPath() + QStringLiteral("/atlases/atlas_ID%1.plist").arg(id());
}

CCDictionary* TSModelAtlas::frameList()
{
    return frameList(CCString::format("atlas_ID%d.png", static_cast<int>(id())), [](TSModelSprite* sprite) {
        return CCString::format("TSModelSprite_ID%d", static_cast<int>(sprite->id()));
    });
}

template <class FrameKey> CCDictionary* TSModelAtlas::frameList(const std::string& texture, FrameKey frameKey)
{
    auto* frames = CCDictionary::create();
    for (CCObject* obj : *m_sprites.models()) {
        auto* sprite = static_cast<TSModelSprite*>(obj);
        const QRectF source = sprite->sourceRect();
        const QSizeF sourceSize = sprite->sourceSize();
        auto* frame = CCDictionary::create();
        frame->setObject(CCString::createWithFormat("{{%.0f, %.0f}, {%.0f, %.0f}}", sprite->pos().x(), sprite->pos().y(),
                                                    sprite->size().width(), sprite->size().height()),
                         "frame");
        // Rounded as printf rounds, then made a positive zero: a negated 0 would print as "-0".
        const auto whole = [](double value) { return std::nearbyint(value) + 0.0; };
        frame->setObject(CCString::createWithFormat("{%.0f, %.0f}",
                                                    whole(source.center().x() - sourceSize.width() / 2),
                                                    whole(-(source.center().y() - sourceSize.height() / 2))),
                         "offset");
        frame->setObject(CCString::create("false"), "rotated");
        frame->setObject(CCString::createWithFormat("{{%.0f, %.0f}, {%.0f, %.0f}}", source.x(), source.y(),
                                                    source.width(), source.height()),
                         "sourceColorRect");
        frame->setObject(CCString::createWithFormat("{%.0f, %.0f}", sourceSize.width(), sourceSize.height()),
                         "sourceSize");
        frames->setObject(frame, frameKey(sprite));
    }
    auto* metadata = CCDictionary::create();
    metadata->setObject(CCString::create("2"), "format");
    metadata->setObject(CCString::create(texture), "realTextureFileName");
    metadata->setObject(CCString::createWithFormat("{%d, %d}", width(), height()), "size");
    metadata->setObject(CCString::create("$Tessel:Smartupdate:$"), "smartupdate");
    metadata->setObject(CCString::create(texture), "textureFileName");
    auto* list = CCDictionary::create();
    list->setObject(frames, "frames");
    list->setObject(metadata, "metadata");
    return list;
}

QImage TSModelAtlas::image()
{
    QImage image(width(), height(), QImage::Format_RGBA8888_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (CCObject* obj : *m_sprites.models()) {
        auto* sprite = static_cast<TSModelSprite*>(obj);
        painter.drawImage(QPoint(static_cast<int>(sprite->pos().x()), static_cast<int>(sprite->pos().y())),
                          sprite->displayImage());
    }
    return image;
}

bool TSModelAtlas::save()
{
    if (TSModelController::instance()->workingPath().isEmpty()) {
        return false;
    }
    const bool imageSaved = image().save(imagePath());
    const bool listSaved = frameList()->writeToFile(plistPath());
    return imageSaved && listSaved;
}

bool TSModelAtlas::saveAs(const QString& imagePath, const QString& plistPath)
{
    const std::string texture = QFileInfo(imagePath).fileName().toStdString();
    CCDictionary* list = frameList(texture, [](TSModelSprite* sprite) { return sprite->name(); });
    // Both files are written beside their targets first, so a failure leaves the old ones whole.
    const QString imageTemp = imagePath + QStringLiteral(".part");
    const QString plistTemp = plistPath + QStringLiteral(".part");
    const bool written = image().save(imageTemp, "PNG") && list->writeToFile(plistTemp);
    const bool replaced = written && replaceFile(imageTemp, imagePath) && replaceFile(plistTemp, plistPath);
    if (!replaced) {
        QFile::remove(imageTemp);
        QFile::remove(plistTemp);
    }
    return replaced;
}

CCDictionary* TSModelAtlas::attributesDictionary()
{
    CCDictionary* dict = TSModel::attributesDictionary();
    m_sprites.writeIds(dict, "sprites");
    return dict;
}

void TSModelAtlas::loadAttributes(CCDictionary* dict)
{
    TSModel::loadAttributes(dict);
    m_sprites.readIds(dict, "sprites");
}

void TSModelAtlas::loadConnections(CCDictionary* dict)
{
    TSModel::loadConnections(dict);
    m_sprites.resolve();
}
