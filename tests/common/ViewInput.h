#pragma once
// Test helpers: mouse input on a graphics view at scene points, delivered as real events to the
// viewport (QTest::mouseMove does not carry held buttons in Qt 5), and clicks on tree rows.

#include <QApplication>
#include <QGraphicsView>
#include <QMouseEvent>
#include <QTreeWidget>
#include <QtTest>
#include <QWheelEvent>

namespace test {

inline QPoint viewPoint(QGraphicsView* view, const QPointF& scenePoint)
{
    return view->mapFromScene(scenePoint);
}

inline void sendMouse(QGraphicsView* view, QEvent::Type type, const QPoint& pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(pos), QPointF(view->viewport()->mapToGlobal(pos)), button, buttons, modifiers);
    QApplication::sendEvent(view->viewport(), &event);
}

inline void pressAt(QGraphicsView* view, const QPointF& scenePoint, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(view, QEvent::MouseButtonPress, viewPoint(view, scenePoint), button, button, modifiers);
}

inline void moveTo(QGraphicsView* view, const QPointF& scenePoint, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                   Qt::MouseButtons buttons = Qt::LeftButton)
{
    sendMouse(view, QEvent::MouseMove, viewPoint(view, scenePoint), Qt::NoButton, buttons, modifiers);
}

inline void releaseAt(QGraphicsView* view, const QPointF& scenePoint, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                      Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(view, QEvent::MouseButtonRelease, viewPoint(view, scenePoint), button, Qt::NoButton, modifiers);
}

/// Press at from, move in a few steps to to, release there.
inline void drag(QGraphicsView* view, const QPointF& from, const QPointF& to,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    pressAt(view, from, modifiers);
    for (int i = 1; i <= 4; ++i) {
        moveTo(view, from + (to - from) * (i / 4.0), modifiers);
    }
    releaseAt(view, to, modifiers);
}

inline void wheel(QGraphicsView* view, const QPoint& pos, int delta)
{
    QWheelEvent event(QPointF(pos), QPointF(view->viewport()->mapToGlobal(pos)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &event);
}

/// A real click on the first row of a tree whose text is name.
inline bool clickRow(QTreeWidget* tree, const QString& name)
{
    const QList<QTreeWidgetItem*> rows = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    if (rows.isEmpty()) {
        return false;
    }
    tree->scrollToItem(rows.first());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(rows.first()).center());
    return true;
}

} // namespace test
