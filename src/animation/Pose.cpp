#include "Pose.h"

#include "AnimatedObject.h"

#include <algorithm>
#include <cmath>

Pose::Values Pose::valuesAt(const AnimatedObject& tracks, float t)
{
    Values values{};
    for (int i = 0; i < AnimatedObject::kChannelCount; ++i) {
        values[static_cast<size_t>(i)] = tracks.channel(i).evaluate(t);
    }
    // An empty scale channel that evaluates to exactly 0 means "unscaled".
    for (int i : {AnimatedObject::ScaleY, AnimatedObject::ScaleX}) {
        if (values[static_cast<size_t>(i)] == 0.0f && tracks.channel(i).keyCount() == 0) {
            values[static_cast<size_t>(i)] = 1.0f;
        }
    }
    return values;
}

QTransform Pose::transformAt(const AnimatedObject& tracks, float t, const QPointF& centre)
{
    return transformOf(valuesAt(tracks, t), centre);
}

QTransform Pose::transformOf(const Values& values, const QPointF& centre)
{
    const double lx = AnimatedObject::kLocationUnit * static_cast<double>(values[0]);
    const double ly = AnimatedObject::kLocationUnit * static_cast<double>(values[1]);
    QTransform transform;
    // Each call pre-multiplies: the point is scaled, rotated about the centre, then offset.
    transform.translate(lx, -ly);
    transform.translate(centre.x(), centre.y());
    transform.rotate(-static_cast<double>(values[2]) * kDegreesPerRadian);
    transform.translate(-centre.x(), -centre.y());
    transform.scale(static_cast<double>(values[3]), static_cast<double>(values[4]));
    return transform;
}

namespace {

// How many of the two scale factors keep the sign they had before (zeros agree with nothing).
int signsKept(double sx, double sy, const Pose::Values& previous)
{
    return (sx * static_cast<double>(previous[3]) > 0.0 ? 1 : 0) +
           (sy * static_cast<double>(previous[4]) > 0.0 ? 1 : 0);
}

// The angle that differs from angle by whole turns and lies closest to near.
double nearestTurn(double angle, double near)
{
    return angle + 2.0 * M_PI * std::round((near - angle) / (2.0 * M_PI));
}

} // namespace

Pose::Values Pose::valuesOf(const QTransform& m, const QPointF& centre, const Values& previous)
{
    // Linear part (row vectors): scale then turn by a = −r,
    // [sx·cos a, sx·sin a; −sy·sin a, sy·cos a]. The angle is read from the longer row, so a node
    // collapsed along one axis keeps its turn; one collapsed to a point keeps the previous turn.
    const double rowX = std::hypot(m.m11(), m.m12());
    const double rowY = std::hypot(m.m21(), m.m22());
    const double determinant = m.m11() * m.m22() - m.m12() * m.m21();
    double a = -static_cast<double>(previous[2]);
    double sx = 0.0;
    double sy = 0.0;
    if (rowX >= rowY && rowX > 0.0) {
        a = std::atan2(m.m12(), m.m11());
        sx = rowX;
        sy = determinant / rowX;
    } else if (rowY > 0.0) {
        a = std::atan2(-m.m21(), m.m22());
        sy = rowY;
        sx = determinant / rowY;
    }
    // The same pose is a half turn more with both scales negated. Keep the scale signs keyed
    // before, then the smaller change of rotation: a mirror stays a mirror instead of becoming a
    // half turn with a flip, and a turn stays a turn.
    const double previousRotation = static_cast<double>(previous[2]);
    double r = nearestTurn(-a, previousRotation);
    const double flippedR = nearestTurn(-a - M_PI, previousRotation);
    const int kept = signsKept(sx, sy, previous);
    const int flippedKept = signsKept(-sx, -sy, previous);
    if (flippedKept > kept ||
        (flippedKept == kept && std::abs(flippedR - previousRotation) < std::abs(r - previousRotation))) {
        r = flippedR;
        sx = -sx;
        sy = -sy;
    }
    // Translation: d = −c·R + c + L, so L = d + c·R − c, with R the turn by −r.
    const double cosA = std::cos(-r);
    const double sinA = std::sin(-r);
    const double cx = centre.x() * cosA - centre.y() * sinA;
    const double cy = centre.x() * sinA + centre.y() * cosA;
    const double lx = m.dx() + cx - centre.x();
    const double ly = m.dy() + cy - centre.y();
    return Values{static_cast<float>(lx / AnimatedObject::kLocationUnit),
                  static_cast<float>(-ly / AnimatedObject::kLocationUnit), static_cast<float>(r),
                  static_cast<float>(sx), static_cast<float>(sy)};
}

Pose::Values Pose::valuesAfterTurn(const QTransform& animation, const QTransform& rest, double degrees,
                                   const QPointF& centre, const Values& previous)
{
    bool invertible = false;
    const QTransform restInverse = rest.inverted(&invertible);
    if (!invertible || !std::isfinite(degrees)) {
        return valuesOf(animation, centre, previous);
    }
    // Follow the turn from its start in steps short enough that each decomposition, taken nearest
    // the one before, stays on the same branch.
    constexpr double kStep = 30.0;
    constexpr double kMostSteps = 100000.0;
    const int steps = static_cast<int>(std::clamp(std::ceil(std::abs(degrees) / kStep), 1.0, kMostSteps));
    const QTransform item = animation * rest;
    Values values = previous;
    for (int i = 0; i <= steps; ++i) {
        const double back = degrees * (static_cast<double>(i) / steps - 1.0);
        values = valuesOf(item * QTransform().rotate(back) * restInverse, centre, values);
    }
    return values;
}
