#include "AddNodeIndicator.h"

#include "ItemData.h"
#include "ObjectManipulator.h"
#include "ScreenScale.h"

#include <QGraphicsSceneMouseEvent>
#include <QPainter>

#include <cmath>

AddNodeIndicator::AddNodeIndicator(ObjectManipulator* manipulator)
    : QObject(nullptr), QGraphicsEllipseItem(manipulator), m_manipulator(manipulator)
{
    setData(ItemData::IsIndicator, true);
    setOpacity(0.5);
    setZValue(100001);
    setAcceptHoverEvents(true);
    setFlag(ItemIsSelectable, false);
    setFlag(ItemIsFocusable, false);
    setCursor(Qt::PointingHandCursor);
    hide();
}

void AddNodeIndicator::viewZoomChanged(float zoom)
{
    m_zoom = zoom > 0 ? zoom : 1.0f;
    updatePosition();
}

void AddNodeIndicator::viewZoomChanged()
{
    updatePosition();
}

void AddNodeIndicator::updatePosition()
{
    const QList<QGraphicsItem*> targets = m_manipulator ? m_manipulator->targets() : QList<QGraphicsItem*>();
    QGraphicsItem* joint = targets.size() == 1 ? targets.first() : nullptr;
    QGraphicsItem* parentJoint = joint ? joint->parentItem() : nullptr;
    const bool visible = joint && joint->data(ItemData::IsJoint).toBool() && parentJoint &&
                      parentJoint->data(ItemData::IsJoint).toBool();
    m_node = visible ? joint : nullptr;
    if (!visible) {
        hide();
        return;
    }
    const QPointF at = joint->sceneBoundingRect().center();
    const QPointF from = parentJoint->sceneBoundingRect().center();
    QPointF direction = at - from;
    const double length = std::hypot(direction.x(), direction.y());
    direction = length > 0 ? direction / length : QPointF(1, 0);
    // 2 × kRadius × screen scale pixels on screen: f already carries the screen scale.
    const double f = std::max(m_zoom, 1.0f) / ScreenScale::ofItem(this);
    const double diameter = 2 * kRadius / f;
    const QPointF centre = mapFromScene(at + direction * kDistance);
    setRect(QRectF(centre.x() - diameter / 2, centre.y() - diameter / 2, diameter, diameter));
    show();
}

void AddNodeIndicator::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    const QRectF r = rect();
    const QColor line = m_hovered ? QColor(Qt::white) : QColor(QStringLiteral("#b4b4b4"));
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(line, r.width() / 20));
    painter->setBrush(QColor(QStringLiteral("#202020")));
    painter->drawEllipse(r);
    const double arm = r.width() / 6;
    painter->drawLine(QPointF(r.center().x() - arm, r.center().y()), QPointF(r.center().x() + arm, r.center().y()));
    painter->drawLine(QPointF(r.center().x(), r.center().y() - arm), QPointF(r.center().x(), r.center().y() + arm));
    painter->restore();
}

void AddNodeIndicator::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    event->accept();
    Q_EMIT itemPressed();
}

void AddNodeIndicator::hoverEnterEvent(QGraphicsSceneHoverEvent*)
{
    m_hovered = true;
    update();
}

void AddNodeIndicator::hoverLeaveEvent(QGraphicsSceneHoverEvent*)
{
    m_hovered = false;
    update();
}
