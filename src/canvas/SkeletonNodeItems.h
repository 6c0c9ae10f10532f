#pragma once

#include "SkeletonNode.h"

#include <QColor>

class QGraphicsScene;

/// Creates, styles and lays out the scene items of one skeleton node.
class SkeletonNodeItems
{
public:
    static QColor modeColor(bool animationMode);
    static QColor overlayBrush() { return QColor(54, 54, 54); }

    /// Creates the joint (with item data), the overlay with its rotation line and inner dot; all
    /// in scene. The bone is created by setParentJoint.
    static void create(SkeletonNode& node, QGraphicsScene* scene);
    /// Deletes every item of the node (children of the joint other than its own are handed to the
    /// scene first, so they survive).
    static void destroy(SkeletonNode& node);
    /// Puts the joint under parentJoint (or at the top level) and creates or removes the bone.
    static void setParentJoint(SkeletonNode& node, QGraphicsEllipseItem* parentJoint, int parentZOrder);

    /// The joint circle: node size pixels across on screen at effective zoom z.
    static void updateJointCircle(SkeletonNode& node, double zoom);
    /// Overlay takes the joint's scene transform and rectangle; decorations follow its size.
    static void updateOverlay(SkeletonNode& node, double zoom);
    /// The kite from the parent joint's centre to this joint's centre, size pixels wide.
    static void updateBone(SkeletonNode& node, double zoom);
    /// Pens whose width keeps constant on screen at zoom.
    static void updatePens(SkeletonNode& node, double zoom, bool animationMode, bool visible);
    /// Colours of animation mode and visibility.
    static void applyStyle(SkeletonNode& node, bool animationMode, bool visible);
};
