#include "TSGraphicsPixmapModel.h"

#include "CCDictionary.h"
#include "CCString.h"
#include "TSModelController.h"
#include "TSPAttributeFloat.h"
#include "TSPAttributePoint.h"
#include "TSPAttributeString.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {

// The adjustment values under their keys, with the range each may take.
struct AdjustmentKey
{
    const char* key;
    float ColorAdjustment::*value;
    float lowest;
    float highest;
};

const AdjustmentKey kAdjustmentKeys[] = {
    {"Brightness", &ColorAdjustment::brightness, -1.0f, 1.0f},
    {"Contrast", &ColorAdjustment::contrast, -1.0f, 1.0f},
    {"Hue", &ColorAdjustment::hue, -1.0f, 1.0f},
    {"Saturation", &ColorAdjustment::saturation, -1.0f, 1.0f},
    {"Opacity", &ColorAdjustment::opacity, 0.0f, 1.0f},
};

} // namespace

TSGraphicsPixmapModel::TSGraphicsPixmapModel()
    : TSModel(kClassName, ""), m_assetName(addTypedAttribute<TSPAttributeString>("assetName")),
      m_pos(addTypedAttribute<TSPAttributePoint>("pos")), m_z(addTypedAttribute<TSPAttributeFloat>("z")),
      m_scale(addTypedAttribute<TSPAttributePoint>("scale")),
      m_rotation(addTypedAttribute<TSPAttributeFloat>("rotation")),
      m_tags(addTypedAttribute<TSPAttributeString>("tags")), m_matrix(TransformAttributes::add(this))
{
}

TSGraphicsPixmapModel* TSGraphicsPixmapModel::fromItemState(const QPointF& pos, qreal z, const QTransform& transform,
                                                            qreal rotation, const QImage& image)
{
    auto* model = new TSGraphicsPixmapModel();
    model->setPos(pos);
    model->setZ(static_cast<float>(z));
    model->m_scale->setValue(CCPoint{static_cast<float>(transform.m11()), static_cast<float>(transform.m22())});
    model->m_rotation->setValue(static_cast<float>(rotation));
    model->setImage(image);
    model->setTransform(transform);
    return model;
}

QString TSGraphicsPixmapModel::assetName() const
{
    return m_assetName->text();
}

void TSGraphicsPixmapModel::setAssetName(const QString& name)
{
    m_assetName->setText(name);
}

QPointF TSGraphicsPixmapModel::pos() const
{
    const CCPoint p = m_pos->value();
    return QPointF(p.x, p.y);
}

void TSGraphicsPixmapModel::setPos(const QPointF& pos)
{
    m_pos->setValue(CCPoint{static_cast<float>(pos.x()), static_cast<float>(pos.y())});
}

float TSGraphicsPixmapModel::z() const
{
    return m_z->value();
}

void TSGraphicsPixmapModel::setZ(float z)
{
    m_z->setValue(z);
}

QPointF TSGraphicsPixmapModel::scale() const
{
    const CCPoint p = m_scale->value();
    return QPointF(p.x, p.y);
}

float TSGraphicsPixmapModel::rotation() const
{
    return m_rotation->value();
}

QStringList TSGraphicsPixmapModel::tags() const
{
    const QString joined = m_tags->text();
    return joined.isEmpty() ? QStringList() : joined.split(QLatin1Char(','));
}

void TSGraphicsPixmapModel::setTags(const QStringList& tags)
{
    m_tags->setValue(tags.join(QLatin1Char(',')).toStdString());
}

QTransform TSGraphicsPixmapModel::transform() const
{
    return TransformAttributes::read(m_matrix);
}

void TSGraphicsPixmapModel::setTransform(const QTransform& transform)
{
    TransformAttributes::write(m_matrix, transform);
}

QString TSGraphicsPixmapModel::imagePath() const
{
    return TSModelController::instance()->workingPath() + QStringLiteral("/images/TSGraphicsPixmapModel_ID") +
           QString::number(id()) + QStringLiteral(".png");
}

QImage TSGraphicsPixmapModel::adjustedImage() const
{
    return m_adjustment.isIdentity() || m_image.isNull() ? m_image : m_adjustment.apply(m_image);
}

CCDictionary* TSGraphicsPixmapModel::attributesDictionary()
{
    CCDictionary* dict = TSModel::attributesDictionary();
    dict->setObject(CCString::createWithFormat("%d", m_spriteId), "spriteId");
    if (!m_adjustment.isIdentity()) {
        for (const AdjustmentKey& entry : kAdjustmentKeys) {
            dict->setObject(CCString::createWithFormat("%f", static_cast<double>(m_adjustment.*entry.value)),
                            entry.key);
        }
    }
    return dict;
}

void TSGraphicsPixmapModel::loadAttributes(CCDictionary* dict)
{
    TSModel::loadAttributes(dict);
    if (!dict) {
        return;
    }
    m_spriteId = dict->valueForKey("spriteId")->intValue();
    m_adjustment = ColorAdjustment();
    for (const AdjustmentKey& entry : kAdjustmentKeys) {
        // A missing key or one that is not a number keeps the neutral value.
        const CCString* text = dict->valueForKey(entry.key);
        const float value = text->floatValue();
        if (!text->string().empty() && std::isfinite(value)) {
            m_adjustment.*entry.value = std::clamp(value, entry.lowest, entry.highest);
        }
    }
}
