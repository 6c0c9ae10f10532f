#pragma once

#include "ColorAdjustment.h"

#include <QString>
#include <QStringList>
#include <QTransform>

class AnimatedObject;
class PixmapPlaceholderItem;
class QGraphicsPixmapItem;
class TSModelSpriteContainer;

/// An image on the canvas: a visible top-level pixmap item that copies the scene transform of a
/// placeholder inside the node hierarchy, which carries the image's pose.
struct SkeletonAsset
{
    /// Identifies the image for as long as the skeleton runs, across renames and undo.
    quint64 id = 0;
    AnimatedObject* animation = nullptr;
    QTransform animationTransform;
    QTransform restTransform;
    /// The sprite container whose current frame is shown, or null for a still image.
    TSModelSpriteContainer* container = nullptr;
    /// The colour adjustment of a still image (a sprite's container keeps its own).
    ColorAdjustment adjustment;
    /// Shows the picture with its colour adjustment.
    QGraphicsPixmapItem* item = nullptr;
    /// Carries the picture as it is, unadjusted.
    PixmapPlaceholderItem* placeholder = nullptr;
    /// The node the image is bound to.
    QString nodeName;
    /// The image's own name, its library asset name and its tags.
    QString name;
    QString assetName;
    QStringList tags;
};
