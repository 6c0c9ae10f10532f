#pragma once

#include "NodeRecord.h"

#include <QtGlobal>

class QGraphicsEllipseItem;
class QGraphicsLineItem;
class QGraphicsPolygonItem;

/// A skeleton node on the canvas: its record and its scene items.
///
/// The joint ellipse is the node's main item and sits in the node hierarchy (a child joint is a
/// child item of its parent's joint). The overlay ellipse (with its rotation line and inner dot)
/// and the bone are top-level items drawn above everything, kept in step with the joint.
struct SkeletonNode : NodeRecord
{
    /// Identifies the node for as long as the skeleton runs, across renames and undo.
    quint64 id = 0;
    QGraphicsEllipseItem* parentJoint = nullptr;
    QGraphicsPolygonItem* bone = nullptr;
    QGraphicsEllipseItem* overlay = nullptr;
    QGraphicsEllipseItem* joint = nullptr;
    QGraphicsLineItem* rotationLine = nullptr;
    QGraphicsEllipseItem* innerDot = nullptr;
};
