#pragma once

/// Bounds on the times an animation carries. Files can say anything; a duration or key time
/// beyond an hour, or one that is not a number, is clamped where it is loaded, so the
/// millisecond and frame counts the editor derives from times always fit in an int.
class TimeLimits
{
public:
    /// The longest duration and the latest key time, seconds.
    static constexpr float kMaxSeconds = 3600.0f;

    /// seconds within [0, kMaxSeconds]; not a number reads as 0.
    static float duration(double seconds);
    /// seconds within [−kMaxSeconds, kMaxSeconds]; not a number reads as 0.
    static float keyTime(double seconds);
    /// A key value or handle as a finite float; anything else (not a number, infinite, beyond
    /// the float range) reads as 0.
    static float keyValue(double value);

    /// frames truncated toward zero, within the int range (not a number reads as 0).
    static int wholeFrames(double frames);
    /// frames rounded to the nearest whole number, within the int range.
    static int nearestFrame(double frames);
};
