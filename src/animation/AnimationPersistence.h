#pragma once

#include "AnimationTracks.h"

#include <QPointF>
#include <QString>

class TSModelSkeletonAnimation;

/// Moves an animation between its in-memory tracks and the persistent models.
class AnimationPersistence
{
public:
    /// Creates the animation model named identifier (with the axes marker position) and one
    /// node-animation model per track in use, in list order, and adds them to the controller.
    /// Models of an earlier save of the same identifier are replaced.
    static TSModelSkeletonAnimation* save(const QString& identifier, const AnimationTracks& tracks,
                                          const QPointF& axesPosition);

    /// The tracks stored for identifier; a stored animation without children adopts the
    /// node-animation models whose "animationName" is the identifier. False when no animation
    /// model has that identifier.
    static bool load(const QString& identifier, AnimationTracks* tracks, QPointF* axesPosition = nullptr);

    /// Removes the animation model of identifier and its node-animation models.
    static void remove(const QString& identifier);
};
