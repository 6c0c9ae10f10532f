#pragma once

#include <QColor>
#include <QPointF>
#include <QString>
#include <QTransform>

class AnimatedObject;

/// What the editor keeps of one skeleton node besides its scene items: names, parent, set-up
/// pose and the tracks currently bound to it.
struct NodeRecord
{
    static QColor defaultBoneColor() { return QColor(95, 95, 95, 255); }

    QString name;
    QString defaultName;
    /// The bound tracks of the current animation (owned by AnimationTracks), or null.
    AnimatedObject* animation = nullptr;
    /// The pose of the current time; applied before the rest transform.
    QTransform animationTransform;
    /// The set-up pose.
    QTransform restTransform;
    /// The parent node's name; empty for a root.
    QString parent;
    /// The node's origin in its parent's coordinates, scene pixels.
    QPointF position;
    /// On-screen size of the joint marker, pixels.
    float size = 20.0f;
    /// Drawing order of the node's bone.
    int zOrder = 0;
    QColor boneColor = defaultBoneColor();
};
