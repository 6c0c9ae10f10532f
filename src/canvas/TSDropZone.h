#pragma once

#include "TSLevelEditorDropElementType.h"

#include <QPolygonF>
#include <QRectF>

class QPainter;
class QPen;

/// An area of the view that gives a drop its type while a drag hovers it.
class TSDropZone
{
public:
    virtual ~TSDropZone() = default;

    TSLevelEditorDropElementType type = TSLevelEditorDropElementNone;
    /// Outline in scene coordinates.
    QPolygonF outline;
    bool hovered = false;
    /// Where the zone paints itself in the drop overlay (set by the view).
    QRectF paintRect;

    /// Draws the zone inside paintRect; the base draws its outline rectangle.
    virtual void paint(QPainter* painter, const QPen& pen) const;
};
