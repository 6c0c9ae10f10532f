#pragma once

#include <QGraphicsRectItem>

/// A handle of the level-editing framework's own manipulator: a press on it ends the view's click walk.
/// The animation editor does not create these; they exist so the click dispatch can tell them apart.
class TSGraphicsManipulator : public QGraphicsRectItem
{
public:
    enum { Type = QGraphicsItem::UserType + 2 };
    using QGraphicsRectItem::QGraphicsRectItem;
    int type() const override { return Type; }
};
