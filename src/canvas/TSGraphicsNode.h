#pragma once

#include <QGraphicsRectItem>

/// A node of a level-editing framework graph; the view reports presses and double clicks on it.
/// The animation editor does not create these; they exist so the click dispatch can tell them apart.
class TSGraphicsNode : public QGraphicsRectItem
{
public:
    enum { Type = QGraphicsItem::UserType + 3 };
    using QGraphicsRectItem::QGraphicsRectItem;
    int type() const override { return Type; }
};
