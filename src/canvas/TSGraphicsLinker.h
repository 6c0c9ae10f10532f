#pragma once

#include <QGraphicsRectItem>

/// A link between two framework nodes; the view reports presses on it.
/// The animation editor does not create these; they exist so the click dispatch can tell them apart.
class TSGraphicsLinker : public QGraphicsRectItem
{
public:
    enum { Type = QGraphicsItem::UserType + 4 };
    using QGraphicsRectItem::QGraphicsRectItem;
    int type() const override { return Type; }
};
