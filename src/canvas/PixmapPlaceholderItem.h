#pragma once

#include <QGraphicsPixmapItem>

/// Stands for an image inside the node hierarchy: it carries the image's pose and shape but draws
/// nothing; the visible image is a top-level item that copies its scene transform.
class PixmapPlaceholderItem : public QGraphicsPixmapItem
{
public:
    using QGraphicsPixmapItem::QGraphicsPixmapItem;

    void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override {}
};
