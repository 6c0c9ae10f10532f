#pragma once
// Test helpers: mouse input, typing and drops on widgets and on a graphics view at scene points,
// delivered as real events (QTest::mouseMove does not carry held buttons in Qt 5), and clicks on
// tree rows.

#include <QApplication>
#include <QDropEvent>
#include <QGraphicsView>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QTreeWidget>
#include <QtTest>
#include <QWheelEvent>

namespace test {

/// A mouse event of any type delivered to a widget (QTest's mouseMove carries no buttons in Qt 5).
inline void sendMouseTo(QWidget* target, QEvent::Type type, const QPoint& pos, Qt::MouseButton button,
                        Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(pos), QPointF(target->mapToGlobal(pos)), button, buttons, modifiers);
    QApplication::sendEvent(target, &event);
}

/// Press at from, move in four steps to to with the button held, release there.
inline void dragOn(QWidget* target, const QPoint& from, const QPoint& to,
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouseTo(target, QEvent::MouseButtonPress, from, button, button, modifiers);
    for (int i = 1; i <= 4; ++i) {
        sendMouseTo(target, QEvent::MouseMove, from + (to - from) * i / 4, Qt::NoButton, button, modifiers);
    }
    sendMouseTo(target, QEvent::MouseButtonRelease, to, button, Qt::NoButton, modifiers);
}

/// Drags data over target to pos (enter, then move) as a copy: whether the target takes it.
inline bool dragOver(QWidget* target, const QPoint& pos, const QMimeData* data)
{
    QDragEnterEvent enter(pos, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(pos, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    return enter.isAccepted();
}

/// Drags data over target to pos and drops it there: whether the target took the drag.
inline bool dropOn(QWidget* target, const QPoint& pos, const QMimeData* data)
{
    const bool taken = dragOver(target, pos, data);
    QDropEvent drop(pos, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return taken;
}

/// Types text into a line edit as a user would: click, select all, delete, type, Return. The field
/// must be there to use: shown and enabled.
inline void typeInto(QLineEdit* field, const QString& text)
{
    QVERIFY(field && field->isVisible() && field->isEnabled());
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

inline QPoint viewPoint(QGraphicsView* view, const QPointF& scenePoint)
{
    return view->mapFromScene(scenePoint);
}

inline void sendMouse(QGraphicsView* view, QEvent::Type type, const QPoint& pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    sendMouseTo(view->viewport(), type, pos, button, buttons, modifiers);
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
