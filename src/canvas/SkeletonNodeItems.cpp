#include "SkeletonNodeItems.h"

#include "ItemData.h"

#include <QBrush>
#include <QGraphicsEllipseItem>
#include <QGraphicsLineItem>
#include <QGraphicsPolygonItem>
#include <QGraphicsScene>
#include <QPen>

#include <cmath>

namespace {

constexpr double kJointZ = 100000.0;

} // namespace

QColor SkeletonNodeItems::modeColor(bool animationMode)
{
    return animationMode ? QColor(62, 197, 112) : QColor(255, 168, 0);
}

void SkeletonNodeItems::create(SkeletonNode& node, QGraphicsScene* scene)
{
    node.joint = new QGraphicsEllipseItem();
    // What the user sees of a joint is its overlay; without a pen the joint's bounds are its circle.
    node.joint->setPen(Qt::NoPen);
    node.joint->setBrush(Qt::NoBrush);
    node.joint->setPos(node.position);
    node.joint->setZValue(node.zOrder + kJointZ);
    node.joint->setData(ItemData::ZOrder, static_cast<double>(node.zOrder) + kJointZ);
    node.joint->setData(ItemData::IsJoint, true);
    node.joint->setData(ItemData::NodeName, node.name);
    node.joint->setData(ItemData::ParentName, node.parent);
    scene->addItem(node.joint);

    node.overlay = new QGraphicsEllipseItem();
    node.overlay->setBrush(SkeletonNodeItems::overlayBrush());
    node.overlay->setZValue(node.zOrder + kJointZ);
    scene->addItem(node.overlay);
    node.rotationLine = new QGraphicsLineItem(node.overlay);
    node.innerDot = new QGraphicsEllipseItem(node.overlay);
    node.innerDot->setBrush(QColor(246, 68, 31));
    node.innerDot->hide();
}

void SkeletonNodeItems::destroy(SkeletonNode& node)
{
    if (node.joint) {
        // Child joints and placeholders of other nodes are not this node's to delete.
        for (QGraphicsItem* child : node.joint->childItems()) {
            child->setParentItem(nullptr);
        }
    }
    delete node.bone;
    delete node.overlay;
    delete node.joint;
    node.bone = nullptr;
    node.overlay = nullptr;
    node.joint = nullptr;
    node.rotationLine = nullptr;
    node.innerDot = nullptr;
    node.parentJoint = nullptr;
}

void SkeletonNodeItems::setParentJoint(SkeletonNode& node, QGraphicsEllipseItem* parentJoint, int parentZOrder)
{
    node.parentJoint = parentJoint;
    node.joint->setParentItem(parentJoint);
    node.joint->setPos(node.position);
    if (!parentJoint) {
        delete node.bone;
        node.bone = nullptr;
        return;
    }
    if (!node.bone) {
        node.bone = new QGraphicsPolygonItem();
        node.bone->setOpacity(0.7);
        node.bone->setAcceptHoverEvents(true);
        node.bone->setData(ItemData::ZOrder, kJointZ);
        node.bone->setData(ItemData::IsBone, true);
        if (node.joint->scene()) {
            node.joint->scene()->addItem(node.bone);
        }
    }
    node.bone->setZValue(std::min(node.zOrder, parentZOrder) + kJointZ - 1.0);
    node.bone->setData(ItemData::BoneJoint, QVariant::fromValue(static_cast<void*>(node.joint)));
    node.bone->setData(ItemData::BoneParentJoint, QVariant::fromValue(static_cast<void*>(parentJoint)));
}

void SkeletonNodeItems::updateJointCircle(SkeletonNode& node, double zoom)
{
    // Map a distance of half the node size (screen pixels at this zoom) into the joint's terms,
    // through the parent's scene transform and the node's pose, so any scaling is undone.
    const QTransform parentScene = node.parentJoint ? node.parentJoint->sceneTransform() : QTransform();
    bool invertible = false;
    const QTransform toJoint = (node.animationTransform * parentScene).inverted(&invertible);
    double d = node.size / (2.0 * zoom);
    if (invertible) {
        const QPointF a = toJoint.map(QPointF(0, 0));
        const QPointF b = toJoint.map(QPointF(0, node.size / (2.0 * zoom)));
        d = std::hypot(b.x() - a.x(), b.y() - a.y());
    }
    if (!std::isfinite(d) || d > 1e6) {
        d = node.size / (2.0 * zoom);
    }
    node.joint->setRect(QRectF(-d, -d, 2 * d, 2 * d));
}

void SkeletonNodeItems::updateOverlay(SkeletonNode& node, double zoom)
{
    const QTransform joint = node.joint->sceneTransform();
    node.overlay->setTransform(joint);
    // A hidden node is not drawn, nor is one collapsed by a scale of 0: its circle has no size.
    node.overlay->setVisible(node.joint->isVisible() && joint.isInvertible());
    const QRectF rect = node.joint->rect();
    node.overlay->setRect(rect);
    node.rotationLine->setLine(QLineF(QPointF(0, 0), QPointF(rect.width() / 2.0, 0)));
    const double dot = node.size * 0.4 * 0.5 / zoom;
    node.innerDot->setRect(QRectF(-dot, -dot, 2 * dot, 2 * dot));
}

void SkeletonNodeItems::updateBone(SkeletonNode& node, double zoom)
{
    if (!node.bone || !node.parentJoint) {
        return;
    }
    node.bone->setVisible(node.joint->isVisible());
    const QPointF a = node.parentJoint->sceneBoundingRect().center();
    const QPointF b = node.joint->sceneBoundingRect().center();
    QPolygonF kite;
    const QPointF along = a - b;
    const double length = std::hypot(along.x(), along.y());
    if (length <= 0.0 || !std::isfinite(length)) {
        kite << a << b;
    } else {
        const double halfWidth = node.size / zoom * 0.5;
        const QPointF w = QPointF(-along.y(), along.x()) / length * halfWidth;
        kite << a << a - w << b << a + w;
    }
    node.bone->setPolygon(kite);
}

void SkeletonNodeItems::updatePens(SkeletonNode& node, double zoom, bool animationMode, bool visible)
{
    const double width = 1.0 / zoom;
    const QColor mode = visible ? modeColor(animationMode) : QColor(Qt::transparent);
    node.overlay->setPen(QPen(mode, width));
    node.rotationLine->setPen(QPen(mode, width));
    node.innerDot->setPen(QPen(mode, width));
    if (node.bone) {
        const QColor bone = visible ? node.boneColor : QColor(Qt::transparent);
        node.bone->setPen(QPen(bone, width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    }
}

void SkeletonNodeItems::applyStyle(SkeletonNode& node, bool animationMode, bool visible)
{
    node.joint->setPen(Qt::NoPen);
    node.overlay->setBrush(visible ? overlayBrush() : QBrush(Qt::NoBrush));
    node.innerDot->setBrush(visible ? QColor(246, 68, 31) : QColor(Qt::transparent));
    if (node.bone) {
        node.bone->setBrush(visible ? node.boneColor : QColor(Qt::transparent));
    }
    const double width = node.overlay->pen().widthF();
    updatePens(node, width > 0 ? 1.0 / width : 1.0, animationMode, visible);
}
