#include "TSModelSprite.h"

#include "CCDictionary.h"
#include "CCGeometry.h"
#include "CCString.h"
#include "ImageFile.h"
#include "SpriteTrimming.h"
#include "TSModelAtlas.h"
#include "TSModelController.h"

#include <QFileInfo>
#include <QPainter>

using namespace cocos2d;

namespace {

CCString* pointText(const QPointF& p)
{
    return CCString::createWithFormat("{%.2f,%.2f}", p.x(), p.y());
}

CCString* sizeText(const QSizeF& s)
{
    return CCString::createWithFormat("{%.2f,%.2f}", s.width(), s.height());
}

} // namespace

TSModelSprite::TSModelSprite() : TSModel(kClassName, "") {}

TSModelSprite* TSModelSprite::createFromFile(const QString& path, bool keepWhole)
{
    QString error;
    const QImage image = ImageFile::read(path, &error);
    if (image.isNull()) {
        TSModelController::log("[TSModelSprite] cannot read %s: %s", qPrintable(path), qPrintable(error));
        return nullptr;
    }
    auto* sprite = new TSModelSprite();
    sprite->setName(QFileInfo(path).completeBaseName().toStdString());
    sprite->m_keepWhole = keepWhole;
    sprite->setSourceImage(image);
    if (!keepWhole) {
        sprite->trim();
    }
    sprite->recomputeAdjustedImage();
    sprite->writeImageFile();
    TSModelController::instance()->addModel(sprite, false);
    sprite->release();
    if (!keepWhole) {
        TSModelAtlas::addSprite(sprite);
    }
    return sprite;
}

QImage TSModelSprite::sourceImage() const
{
    if (m_sourceImage.isNull()) {
        const QString path = imagePath();
        if (!path.isEmpty() && QFileInfo(path).isFile()) {
            m_sourceImage = ImageFile::read(path);
        }
    }
    return m_sourceImage;
}

void TSModelSprite::setSourceImage(const QImage& image)
{
    m_sourceImage = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_sourceSize = m_size = QSizeF(m_sourceImage.size());
    m_offset = QPointF(0, 0);
    m_sourceRect = QRectF(m_offset, m_size);
    m_adjustedImage = QImage();
}

QImage TSModelSprite::displayImage() const
{
    return m_adjustedImage.isNull() ? sourceImage() : m_adjustedImage;
}

void TSModelSprite::trim()
{
    const QImage image = displayImage();
    const QRect kept = SpriteTrimming::keptRect(image);
    m_offset = kept.topLeft();
    m_sourceImage = image.isNull() ? QImage(1, 1, QImage::Format_ARGB32_Premultiplied) : image.copy(kept);
    if (image.isNull()) {
        m_sourceImage.fill(Qt::transparent);
    }
    m_size = QSizeF(kept.size());
    m_sourceRect = QRectF(m_offset, m_size);
    m_adjustedImage = QImage();
}

void TSModelSprite::setColorValues(const ColorAdjustment& values)
{
    const bool changed = values.brightness != m_adjustment.brightness || values.contrast != m_adjustment.contrast ||
                         values.hue != m_adjustment.hue || values.saturation != m_adjustment.saturation;
    m_adjustment.brightness = values.brightness;
    m_adjustment.contrast = values.contrast;
    m_adjustment.hue = values.hue;
    m_adjustment.saturation = values.saturation;
    if (changed) {
        recomputeAdjustedImage();
    }
}

void TSModelSprite::setOpacity(float opacity)
{
    if (opacity != m_adjustment.opacity) {
        m_adjustment.opacity = opacity;
        recomputeAdjustedImage();
    }
}

void TSModelSprite::recomputeAdjustedImage()
{
    const QImage source = sourceImage();
    m_adjustedImage = source.isNull() ? QImage() : m_adjustment.apply(source);
}

QString TSModelSprite::imagePath() const
{
    const QString working = TSModelController::instance()->workingPath();
    if (working.isEmpty()) {
        return QString();
    }
    return working + QStringLiteral("/images/TSModelSprite_ID") + QString::number(id()) + QStringLiteral(".png");
}

bool TSModelSprite::writeImageFile() const
{
    const QString path = imagePath();
    const QImage image = sourceImage();
    return !path.isEmpty() && !image.isNull() && image.save(path, "PNG");
}

void TSModelSprite::paint(QPainter* painter) const
{
    const QImage image = sourceImage();
    if (!painter || image.isNull()) {
        return;
    }
    painter->save();
    painter->setOpacity(painter->opacity() * m_adjustment.opacity);
    painter->drawImage(QPointF(m_offset.x() - m_sourceSize.width() / 2, m_offset.y() - m_sourceSize.height() / 2),
                       image);
    painter->restore();
}

CCDictionary* TSModelSprite::attributesDictionary()
{
    CCDictionary* dict = TSModel::attributesDictionary();
    dict->setObject(pointText(m_pos), "pos");
    dict->setObject(pointText(m_offset), "offset");
    dict->setObject(sizeText(m_size), "size");
    dict->setObject(sizeText(m_sourceSize), "sourceSize");
    dict->setObject(CCString::createWithFormat("{{%.2f,%.2f},{%.2f,%.2f}}", m_sourceRect.x(), m_sourceRect.y(),
                                               m_sourceRect.width(), m_sourceRect.height()),
                    "sourceRect");
    return dict;
}

void TSModelSprite::loadAttributes(CCDictionary* dict)
{
    TSModel::loadAttributes(dict);
    if (!dict) {
        return;
    }
    auto point = [dict](const char* key, QPointF* out) {
        if (const auto* text = dict->objectForKeyAs<CCString>(key)) {
            const CCPoint p = pointFromString(text->string());
            *out = QPointF(p.x, p.y);
        }
    };
    auto size = [dict](const char* key, QSizeF* out) {
        if (const auto* text = dict->objectForKeyAs<CCString>(key)) {
            const CCSize s = sizeFromString(text->string());
            *out = QSizeF(s.width, s.height);
        }
    };
    point("pos", &m_pos);
    point("offset", &m_offset);
    size("size", &m_size);
    size("sourceSize", &m_sourceSize);
    if (const auto* text = dict->objectForKeyAs<CCString>("sourceRect")) {
        const CCRect r = rectFromString(text->string());
        m_sourceRect = QRectF(r.origin.x, r.origin.y, r.size.width, r.size.height);
    }
}

void TSModelSprite::removeFromController()
{
    retain();
    TSModel::removeFromController();
    TSModelAtlas::removeSprite(this);
    release();
}
