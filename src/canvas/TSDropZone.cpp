#include "TSDropZone.h"

#include <QPainter>

void TSDropZone::paint(QPainter* painter, const QPen& pen) const
{
    painter->save();
    painter->setPen(pen);
    painter->setBrush(hovered ? QColor(60, 60, 60, 120) : Qt::NoBrush);
    painter->drawRect(paintRect);
    painter->restore();
}
