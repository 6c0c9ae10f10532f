#include "OnionSkin.h"

#include "ItemData.h"
#include "PixmapPlaceholderItem.h"
#include "Pose.h"
#include "Skeleton.h"

#include <QGraphicsEllipseItem>
#include <QGraphicsPixmapItem>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

bool isFinite(const QTransform& t)
{
    const qreal values[] = {t.m11(), t.m12(), t.m13(), t.m21(), t.m22(), t.m23(), t.m31(), t.m32(), t.m33()};
    return std::all_of(std::begin(values), std::end(values), [](qreal v) { return std::isfinite(v); });
}

/// Scene transforms of the nodes at one time, worked out from the tracks as the skeleton would
/// pose its items (pose, then rest pose, then the node's position, then the parent's).
class PoseAtTime
{
public:
    PoseAtTime(const Skeleton& skeleton, float seconds) : m_skeleton(skeleton), m_seconds(seconds) {}

    QTransform sceneOf(const Skeleton::Node* node)
    {
        if (!node) {
            return QTransform();
        }
        if (const auto it = m_scene.constFind(node); it != m_scene.constEnd()) {
            return it.value();
        }
        QTransform pose = node->animation
                              ? Pose::transformAt(*node->animation, m_seconds, node->joint->rect().center())
                              : node->animationTransform;
        if (!isFinite(pose)) {
            pose = QTransform();
        }
        const QTransform local =
            pose * node->restTransform * QTransform::fromTranslate(node->position.x(), node->position.y());
        // Parents are resolved without cycles (the skeleton cuts them), and every node is
        // worked out once.
        m_scene.insert(node, QTransform());
        const QTransform scene = local * sceneOf(m_skeleton.nodeByItem(node->parentJoint));
        m_scene.insert(node, scene);
        return scene;
    }

    QTransform sceneOf(const Skeleton::Asset& asset)
    {
        QTransform pose = asset.animation ? Pose::transformAt(*asset.animation, m_seconds,
                                                              asset.placeholder->boundingRect().center())
                                          : asset.animationTransform;
        if (!isFinite(pose)) {
            pose = QTransform();
        }
        return pose * asset.restTransform * sceneOf(m_skeleton.nodeByName(asset.nodeName));
    }

private:
    const Skeleton& m_skeleton;
    float m_seconds;
    QHash<const Skeleton::Node*, QTransform> m_scene;
};

} // namespace

const QColor OnionSkin::kBeforeTint(230, 60, 60);
const QColor OnionSkin::kAfterTint(60, 210, 100);

OnionSkin::OnionSkin(Skeleton* skeleton, QGraphicsItem* parent) : QGraphicsItem(parent), m_skeleton(skeleton)
{
    // Behind every image, dummy images included; no part in picking or selecting.
    setZValue(-1.0e6);
    setAcceptedMouseButtons(Qt::NoButton);
    setAcceptHoverEvents(false);
    setFlag(QGraphicsItem::ItemIsSelectable, false);
    setFlag(QGraphicsItem::ItemIsFocusable, false);
    setData(ItemData::EditorOverlay, true);
    setVisible(false);
}

void OnionSkin::setSettings(const Settings& settings)
{
    m_settings = settings;
    m_settings.before = std::clamp(settings.before, 0, kMaxCopies);
    m_settings.after = std::clamp(settings.after, 0, kMaxCopies);
    m_settings.step = std::clamp(settings.step, 1, kMaxStep);
    rebuild();
}

void OnionSkin::setPlaying(bool playing)
{
    m_playing = playing;
    rebuild();
}

void OnionSkin::showAround(int frame)
{
    m_frame = std::max(0, frame);
    rebuild();
}

QList<int> OnionSkin::frames() const
{
    QList<int> frames;
    for (const Copy& copy : m_copies) {
        if (frames.isEmpty() || frames.last() != copy.frame) {
            frames.append(copy.frame);
        }
    }
    return frames;
}

QPixmap OnionSkin::tinted(const QPixmap& pixmap, const QColor& tint)
{
    const QPair<qint64, QRgb> key(pixmap.cacheKey(), tint.rgb());
    if (const auto it = m_tinted.constFind(key); it != m_tinted.constEnd()) {
        return it.value();
    }
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        painter.fillRect(image.rect(), QColor(tint.red(), tint.green(), tint.blue(), 150));
    }
    const QPixmap result = QPixmap::fromImage(image);
    m_tinted.insert(key, result);
    return result;
}

void OnionSkin::rebuild()
{
    prepareGeometryChange();
    m_copies.clear();
    m_bounds = QRectF();
    const bool shown = m_skeleton && m_settings.on && !m_playing;
    setVisible(shown);
    if (!shown) {
        return;
    }
    // Pictures not drawn any more leave the cache now and then.
    if (m_tinted.size() >
        4 * static_cast<int>(m_skeleton->images().size() + m_skeleton->dummyImages().size()) + 32) {
        m_tinted.clear();
    }
    const int lastFrame = m_skeleton->frameCount() - 1;
    const float frameRate = m_skeleton->frameRate() > 0.0f ? m_skeleton->frameRate() : 60.0f;
    const auto addPose = [&](int frame, int distance, int count, const QColor& tint) {
        PoseAtTime pose(*m_skeleton, static_cast<float>(frame) / frameRate);
        const qreal opacity = 0.55 * (count - distance + 1) / count;
        for (const auto* list : {&m_skeleton->dummyImages(), &m_skeleton->images()}) {
            for (const auto& asset : *list) {
                const QTransform scene = pose.sceneOf(*asset);
                const QPixmap picture = asset->item->pixmap();
                if (picture.isNull() || !isFinite(scene) || !scene.isInvertible()) {
                    continue;
                }
                m_copies.append(Copy{frame, tinted(picture, tint), scene, opacity, tint});
                m_bounds |= scene.mapRect(QRectF(picture.rect()));
            }
        }
    };
    // Farthest first, so the nearer poses lie on top.
    for (int distance = std::max(m_settings.before, m_settings.after); distance >= 1; --distance) {
        const int before = m_frame - distance * m_settings.step;
        if (distance <= m_settings.before && before >= 0) {
            addPose(before, distance, m_settings.before, kBeforeTint);
        }
        const int after = m_frame + distance * m_settings.step;
        if (distance <= m_settings.after && after <= lastFrame) {
            addPose(after, distance, m_settings.after, kAfterTint);
        }
    }
    update();
}

void OnionSkin::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    for (const Copy& copy : m_copies) {
        painter->save();
        painter->setTransform(copy.transform, true);
        painter->setOpacity(copy.opacity);
        painter->drawPixmap(0, 0, copy.pixmap);
        painter->restore();
    }
}
