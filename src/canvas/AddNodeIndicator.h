#pragma once

#include <QGraphicsEllipseItem>
#include <QObject>

class ObjectManipulator;

/// The round "+" button shown 60 scene units beyond a selected joint that has a parent; pressing
/// it adds a child node under that joint.
class AddNodeIndicator : public QObject, public QGraphicsEllipseItem
{
    Q_OBJECT

public:
    static constexpr double kRadius = 10.0;
    static constexpr double kDistance = 60.0;

    explicit AddNodeIndicator(ObjectManipulator* manipulator);

    /// The joint the indicator points from, or null while hidden.
    QGraphicsItem* nodeItem() const { return m_node; }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

public Q_SLOTS:
    void viewZoomChanged(float zoom);
    void viewZoomChanged();
    void updatePosition();

Q_SIGNALS:
    void itemPressed();

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void hoverEnterEvent(QGraphicsSceneHoverEvent* event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent* event) override;

private:
    ObjectManipulator* m_manipulator;
    QGraphicsItem* m_node = nullptr;
    float m_zoom = 1.0f;
    bool m_hovered = false;
};
