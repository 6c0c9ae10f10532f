#pragma once

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
    AnimatedObject* animation = nullptr;
    QTransform animationTransform;
    QTransform restTransform;
    /// The sprite container whose current frame is shown, or null for a still image.
    TSModelSpriteContainer* container = nullptr;
    QGraphicsPixmapItem* item = nullptr;
    PixmapPlaceholderItem* placeholder = nullptr;
    /// The node the image is bound to.
    QString nodeName;
    /// The image's own name, its library asset name and its tags.
    QString name;
    QString assetName;
    QStringList tags;
};
