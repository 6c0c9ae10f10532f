#pragma once

#include <QGraphicsRectItem>

/// A sprite asset placed by the level-editing framework; the view reports presses on it.
/// The animation editor does not create these; they exist so the click dispatch can tell them apart.
class TSAssetsSpriteGraphicsItem : public QGraphicsRectItem
{
public:
    enum { Type = QGraphicsItem::UserType + 5 };
    using QGraphicsRectItem::QGraphicsRectItem;
    int type() const override { return Type; }
};
