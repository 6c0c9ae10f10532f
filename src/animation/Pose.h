#pragma once

#include <QPointF>
#include <QTransform>

#include <array>

class AnimatedObject;

/// The pose maths between keyframe values and item transforms, free of any scene.
class Pose
{
public:
    /// Channel values in stored units, in channel order (location x, location y, rotation,
    /// scale x, scale y).
    using Values = std::array<float, 5>;

    /// The pose of tracks at time t (seconds) for an item whose bounding rectangle is centred on
    /// centre: scale, then rotate about centre, then offset by the location.
    static QTransform transformAt(const AnimatedObject& tracks, float t, const QPointF& centre);
    /// The same pose from channel values.
    static QTransform transformOf(const Values& values, const QPointF& centre);
    /// The values of an item at rest: no offset, no turn, unscaled.
    static constexpr Values restValues() { return Values{0.0f, 0.0f, 0.0f, 1.0f, 1.0f}; }

    /// The channel values whose pose is transform, of the decompositions that give the same pose
    /// the one closest to previous (the values keyed before).
    static Values valuesOf(const QTransform& transform, const QPointF& centre,
                           const Values& previous = restValues());
    /// The channel values of an item posed by animation over rest that was just turned by degrees
    /// (whole turns included) in its parent's terms, starting from the values previous: the
    /// decomposition reached by following the turn, so whole turns count.
    static Values valuesAfterTurn(const QTransform& animation, const QTransform& rest, double degrees,
                                  const QPointF& centre, const Values& previous);
    /// Channel values of tracks at time t (with the rule for empty scale channels).
    static Values valuesAt(const AnimatedObject& tracks, float t);

    /// Degrees per radian as the pose uses it.
    static constexpr double kDegreesPerRadian = 57.29578;
};
