#pragma once

#include <QGraphicsRectItem>
#include <QGraphicsSceneMouseEvent>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>

class ObjectManipulator;

/// The rubber band: a drag from empty canvas makes the items it touches the manipulator's
/// targets (joints and images; never bones, nor items that cannot be selected). With Ctrl held at
/// the press the touched items join the targets there were. Driven by the scene's mouse signals.
class ObjectSelector : public QObject, public QGraphicsRectItem
{
    Q_OBJECT

public:
    explicit ObjectSelector(ObjectManipulator* manipulator, QGraphicsItem* parent = nullptr);

    /// Whether a press on empty canvas puts the view's own cursor back.
    bool resetsCursor() const { return m_resetCursor; }
    void setResetsCursor(bool reset) { m_resetCursor = reset; }

public Q_SLOTS:
    void sceneMousePress(QGraphicsSceneMouseEvent* event);
    void sceneMouseMove(QGraphicsSceneMouseEvent* event);
    void sceneMouseRelease(QGraphicsSceneMouseEvent* event);

private:
    static bool isSelectable(const QGraphicsItem* item);

    QPointer<ObjectManipulator> m_manipulator;
    QPointF m_pressPoint;
    /// The targets the band adds to (those there were when Ctrl was held at the press).
    QList<QGraphicsItem*> m_items;
    bool m_resetCursor = true;
};
