#pragma once

#include <QGraphicsItem>
#include <QObject>

class QGraphicsSceneMouseEvent;

/// Two draggable guide lines across the visible area: a vertical one at x and a horizontal one
/// at y, scene units.
class SceneAxes : public QObject, public QGraphicsItem
{
    Q_OBJECT
    Q_INTERFACES(QGraphicsItem)

public:
    /// How close (scene units, on the line's axis) a press must be to take a line.
    static constexpr double kGrabDistance = 4.0;

    explicit SceneAxes(QGraphicsItem* parent = nullptr);

    QPointF crossing() const { return QPointF(m_x, m_y); }
    void setCrossing(const QPointF& point);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    QPainterPath shape() const override;

public Q_SLOTS:
    void viewZoomChanged(float zoom);
    void viewZoomChanged();
    void sceneMouseMove(QGraphicsSceneMouseEvent* event);

Q_SIGNALS:
    void valueChanged();
    /// A drag of the lines ended; the crossing at its start and its end.
    void crossingChangedFromTo(QPointF from, QPointF to);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent* event) override;

private:
    bool nearVertical(const QPointF& point) const;
    bool nearHorizontal(const QPointF& point) const;
    QRectF visibleArea() const;

    // Single precision, as the animation keeps the crossing: it comes back from there unchanged.
    float m_x = 0.0f;
    float m_y = 0.0f;
    QPointF m_pressCrossing;
    bool m_dragVertical = false;
    bool m_dragHorizontal = false;
    bool m_hoverVertical = false;
    bool m_hoverHorizontal = false;
    float m_zoom = 1.0f;
};
