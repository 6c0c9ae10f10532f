#include "Pose.h"

#include "AnimatedObject.h"

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

Pose::Values Pose::valuesOf(const QTransform& m, const QPointF& centre)
{
    // Linear part: scale then rotation, [sx·cos a, sx·sin a; −sy·sin a, sy·cos a] with a = −r.
    const double a = std::atan2(m.m12(), m.m11());
    const double sx = std::hypot(m.m11(), m.m12());
    const double determinant = m.m11() * m.m22() - m.m12() * m.m21();
    const double sy = sx > 0.0 ? determinant / sx : std::hypot(m.m21(), m.m22());
    // Translation: dx = −c·R + c + L, so L = d + c·R − c.
    const double cosA = std::cos(a);
    const double sinA = std::sin(a);
    const double cx = centre.x() * cosA - centre.y() * sinA;
    const double cy = centre.x() * sinA + centre.y() * cosA;
    const double lx = m.dx() + cx - centre.x();
    const double ly = m.dy() + cy - centre.y();
    return Values{static_cast<float>(lx / AnimatedObject::kLocationUnit),
                  static_cast<float>(-ly / AnimatedObject::kLocationUnit), static_cast<float>(-a),
                  static_cast<float>(sx), static_cast<float>(sy)};
}
