#include "SceneAxes.h"

#include <QCursor>
#include <QGraphicsScene>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QPainter>

#include <cmath>

SceneAxes::SceneAxes(QGraphicsItem* parent) : QGraphicsItem(parent)
{
    setZValue(100000);
    setAcceptHoverEvents(true);
}

void SceneAxes::setCrossing(const QPointF& point)
{
    m_x = static_cast<float>(point.x());
    m_y = static_cast<float>(point.y());
    update();
}

QRectF SceneAxes::visibleArea() const
{
    QRectF area(-15000, -15000, 30000, 30000);
    if (scene() && !scene()->views().isEmpty()) {
        QGraphicsView* view = scene()->views().first();
        area = view->mapToScene(view->viewport()->rect()).boundingRect();
    }
    return area;
}

QRectF SceneAxes::boundingRect() const
{
    const QRectF area = visibleArea();
    return area.united(QRectF(m_x - 1, m_y - 1, 2, 2)).adjusted(-kGrabDistance, -kGrabDistance, kGrabDistance,
                                                                 kGrabDistance);
}

QPainterPath SceneAxes::shape() const
{
    // Only the strips along the two lines take the mouse.
    const QRectF area = boundingRect();
    QPainterPath path;
    path.setFillRule(Qt::WindingFill); // the crossing belongs to both strips
    path.addRect(QRectF(m_x - kGrabDistance, area.top(), 2 * kGrabDistance, area.height()));
    path.addRect(QRectF(area.left(), m_y - kGrabDistance, area.width(), 2 * kGrabDistance));
    return path;
}

void SceneAxes::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    const QRectF area = visibleArea();
    painter->save();
    painter->setPen(QPen(Qt::white, 1.0 / m_zoom));
    painter->setOpacity(m_hoverVertical || m_dragVertical ? 1.0 : 0.3);
    painter->drawLine(QPointF(m_x, area.top()), QPointF(m_x, area.bottom()));
    painter->setOpacity(m_hoverHorizontal || m_dragHorizontal ? 1.0 : 0.3);
    painter->drawLine(QPointF(area.left(), m_y), QPointF(area.right(), m_y));
    painter->restore();
}

bool SceneAxes::nearVertical(const QPointF& point) const
{
    return std::abs(point.x() - m_x) <= kGrabDistance;
}

bool SceneAxes::nearHorizontal(const QPointF& point) const
{
    return std::abs(point.y() - m_y) <= kGrabDistance;
}

void SceneAxes::viewZoomChanged(float zoom)
{
    m_zoom = zoom > 0 ? zoom : 1.0f;
    viewZoomChanged();
}

void SceneAxes::viewZoomChanged()
{
    prepareGeometryChange();
    update();
}

void SceneAxes::sceneMouseMove(QGraphicsSceneMouseEvent* event)
{
    if (!isVisible() || !event) {
        return;
    }
    const bool vertical = nearVertical(event->scenePos());
    const bool horizontal = nearHorizontal(event->scenePos());
    if (vertical && horizontal) {
        setCursor(Qt::SizeAllCursor);
    } else if (vertical) {
        setCursor(Qt::SizeHorCursor);
    } else if (horizontal) {
        setCursor(Qt::SizeVerCursor);
    } else {
        setCursor(Qt::ArrowCursor);
    }
}

void SceneAxes::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    m_dragVertical = nearVertical(event->scenePos());
    m_dragHorizontal = nearHorizontal(event->scenePos());
    if (m_dragVertical || m_dragHorizontal) {
        m_pressCrossing = crossing();
        event->accept();
        update();
    } else {
        event->ignore();
    }
}

void SceneAxes::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    prepareGeometryChange();
    if (m_dragVertical) {
        m_x = static_cast<float>(event->scenePos().x());
    }
    if (m_dragHorizontal) {
        m_y = static_cast<float>(event->scenePos().y());
    }
    update();
}

void SceneAxes::mouseReleaseEvent(QGraphicsSceneMouseEvent*)
{
    const bool dragged = m_dragVertical || m_dragHorizontal;
    m_dragVertical = m_dragHorizontal = false;
    update();
    if (dragged) {
        Q_EMIT valueChanged();
        if (crossing() != m_pressCrossing) {
            Q_EMIT crossingChangedFromTo(m_pressCrossing, crossing());
        }
    }
}

void SceneAxes::hoverMoveEvent(QGraphicsSceneHoverEvent* event)
{
    m_hoverVertical = nearVertical(event->scenePos());
    m_hoverHorizontal = nearHorizontal(event->scenePos());
    update();
}

void SceneAxes::hoverLeaveEvent(QGraphicsSceneHoverEvent*)
{
    m_hoverVertical = m_hoverHorizontal = false;
    update();
}
