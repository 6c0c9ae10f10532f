#include "TSModelSpriteContainer.h"

#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"
#include "TSModelController.h"
#include "TSModelSprite.h"
#include "TSPAttributeFloat.h"

#include <QFileInfo>
#include <QPainter>

#include <cmath>

using namespace cocos2d;

TSModelSpriteContainer::TSModelSpriteContainer()
    : TSModel(kClassName, ""), m_brightness(addTypedAttribute<TSPAttributeFloat>("Brightness")),
      m_contrast(addTypedAttribute<TSPAttributeFloat>("Contrast")), m_hue(addTypedAttribute<TSPAttributeFloat>("Hue")),
      m_saturation(addTypedAttribute<TSPAttributeFloat>("Saturation")),
      m_opacity(addTypedAttribute<TSPAttributeFloat>("Opacity")), m_sprites(TSModelSprite::kClassName)
{
    m_opacity->setDefaultValue(1.0f);
}

TSModelSpriteContainer* TSModelSpriteContainer::createFromFiles(const QStringList& paths, bool keepWhole)
{
    auto* container = new TSModelSpriteContainer();
    if (!paths.isEmpty()) {
        container->setName(QFileInfo(paths.first()).completeBaseName().toStdString());
    }
    for (const QString& path : paths) {
        if (TSModelSprite* sprite = TSModelSprite::createFromFile(path, keepWhole)) {
            container->appendSprite(sprite);
        }
    }
    if (container->spriteCount() == 0) {
        container->release();
        return nullptr;
    }
    TSModelController::instance()->addModel(container, false);
    container->release();
    return container;
}

TSModelSprite* TSModelSpriteContainer::spriteAt(int index)
{
    return index >= 0 ? static_cast<TSModelSprite*>(m_sprites.at(static_cast<unsigned>(index))) : nullptr;
}

void TSModelSpriteContainer::appendSprite(TSModelSprite* sprite)
{
    if (!sprite) {
        return;
    }
    m_sprites.append(sprite);
    m_duration = static_cast<float>(spriteCount()) / kFramesPerSecond;
}

float TSModelSpriteContainer::brightness() const
{
    return m_brightness->value();
}

float TSModelSpriteContainer::contrast() const
{
    return m_contrast->value();
}

float TSModelSpriteContainer::hue() const
{
    return m_hue->value();
}

float TSModelSpriteContainer::saturation() const
{
    return m_saturation->value();
}

float TSModelSpriteContainer::opacity() const
{
    return m_opacity->value();
}

ColorAdjustment TSModelSpriteContainer::adjustment() const
{
    return ColorAdjustment{brightness(), contrast(), hue(), saturation(), opacity()};
}

void TSModelSpriteContainer::copyColorValuesToSprites()
{
    const ColorAdjustment values = adjustment();
    for (CCObject* obj : *m_sprites.models()) {
        static_cast<TSModelSprite*>(obj)->setColorValues(values);
    }
}

void TSModelSpriteContainer::setBrightness(float value)
{
    m_brightness->setValue(value);
    copyColorValuesToSprites();
}

void TSModelSpriteContainer::setContrast(float value)
{
    m_contrast->setValue(value);
    copyColorValuesToSprites();
}

void TSModelSpriteContainer::setHue(float value)
{
    m_hue->setValue(value);
    copyColorValuesToSprites();
}

void TSModelSpriteContainer::setSaturation(float value)
{
    m_saturation->setValue(value);
    copyColorValuesToSprites();
}

void TSModelSpriteContainer::setOpacity(float value)
{
    m_opacity->setValue(value);
    for (CCObject* obj : *m_sprites.models()) {
        static_cast<TSModelSprite*>(obj)->setOpacity(value);
    }
}

void TSModelSpriteContainer::applyAdjustments()
{
    const ColorAdjustment values = adjustment();
    for (CCObject* obj : *m_sprites.models()) {
        auto* sprite = static_cast<TSModelSprite*>(obj);
        sprite->setColorValues(values);
        sprite->setOpacity(values.opacity);
        sprite->recomputeAdjustedImage();
    }
}

void TSModelSpriteContainer::setTime(float t)
{
    setEvaluationPosition(t * m_animationSpeed);
}

int TSModelSpriteContainer::currentFrameIndex()
{
    const int count = spriteCount();
    if (count == 0) {
        return 0;
    }
    const double frame = std::trunc(static_cast<double>(evaluationPosition()) * kFramesPerSecond);
    if (!std::isfinite(frame)) {
        return 0;
    }
    const long long index = static_cast<long long>(std::fmod(frame, count));
    return static_cast<int>(index < 0 ? index + count : index);
}

TSModelSprite* TSModelSpriteContainer::currentSprite()
{
    return spriteCount() > 0 ? spriteAt(currentFrameIndex()) : nullptr;
}

QImage TSModelSpriteContainer::currentImage()
{
    TSModelSprite* sprite = currentSprite();
    return sprite ? sprite->displayImage() : QImage();
}

QPointF TSModelSpriteContainer::currentOffset()
{
    TSModelSprite* sprite = currentSprite();
    return sprite ? sprite->offset() : QPointF();
}

QSizeF TSModelSpriteContainer::currentSourceSize()
{
    TSModelSprite* sprite = currentSprite();
    return sprite ? sprite->sourceSize() : QSizeF();
}

QSize TSModelSpriteContainer::frameSize()
{
    QSize size;
    for (CCObject* obj : *m_sprites.models()) {
        const QSize source = static_cast<TSModelSprite*>(obj)->sourceSize().toSize();
        size = size.expandedTo(source);
    }
    return size;
}

QImage TSModelSpriteContainer::frameImage(int index)
{
    const int count = spriteCount();
    const QSize size = frameSize();
    if (count == 0 || size.isEmpty()) {
        return QImage();
    }
    TSModelSprite* sprite = spriteAt(((index % count) + count) % count);
    QImage frame(size, QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::transparent);
    const QSize source = sprite->sourceSize().toSize();
    const QPoint topLeft = sprite->offset().toPoint() +
                           QPoint((size.width() - source.width()) / 2, (size.height() - source.height()) / 2);
    QPainter painter(&frame);
    painter.drawImage(topLeft, sprite->displayImage());
    return frame;
}

void TSModelSpriteContainer::paint(QPainter* painter)
{
    TSModelSprite* sprite = currentSprite();
    if (!painter || !sprite) {
        return;
    }
    painter->save();
    painter->translate(-m_anchor);
    sprite->paint(painter);
    painter->restore();
}

void TSModelSpriteContainer::takeSpriteFlag(int flag)
{
    for (CCObject* obj : *m_sprites.models()) {
        static_cast<TSModelSprite*>(obj)->setKeepWhole(flag == 1);
    }
}

CCDictionary* TSModelSpriteContainer::attributesDictionary()
{
    CCDictionary* dict = TSModel::attributesDictionary();
    m_sprites.writeIds(dict, "sprites");
    dict->setObject(CCString::createWithFormat("%f", static_cast<double>(m_duration)), "duration");
    dict->setObject(CCString::createWithFormat("%f", static_cast<double>(m_animationSpeed)), "animationSpeed");
    return dict;
}

void TSModelSpriteContainer::loadAttributes(CCDictionary* dict)
{
    TSModel::loadAttributes(dict);
    if (!dict) {
        return;
    }
    m_sprites.readIds(dict, "sprites");
    m_duration = dict->valueForKey("duration")->floatValue();
    m_animationSpeed = dict->valueForKey("animationSpeed")->floatValue();
    if (m_animationSpeed == 0.0f) {
        m_animationSpeed = 1.0f;
    }
}

void TSModelSpriteContainer::loadConnections(CCDictionary* dict)
{
    TSModel::loadConnections(dict);
    m_sprites.resolve();
    if (m_duration == 0.0f) {
        m_duration = static_cast<float>(spriteCount()) / kFramesPerSecond;
    }
    // Each sprite takes the container's values; only what changed is recomputed.
    const ColorAdjustment values = adjustment();
    for (CCObject* obj : *m_sprites.models()) {
        auto* sprite = static_cast<TSModelSprite*>(obj);
        sprite->setColorValues(values);
        sprite->setOpacity(values.opacity);
    }
}
