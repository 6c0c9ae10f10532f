#include "TimeLimits.h"

#include <cmath>
#include <limits>

namespace {

double clamp(double value, double low, double high)
{
    return std::isnan(value) ? 0.0 : value < low ? low : value > high ? high : value;
}

int toInt(double whole)
{
    // The int range is exact in a double, so the bounds compare without rounding.
    return static_cast<int>(clamp(whole, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

float TimeLimits::duration(double seconds)
{
    return static_cast<float>(clamp(seconds, 0.0, kMaxSeconds));
}

float TimeLimits::keyTime(double seconds)
{
    return static_cast<float>(clamp(seconds, -kMaxSeconds, kMaxSeconds));
}

float TimeLimits::keyValue(double value)
{
    const double largest = std::numeric_limits<float>::max();
    return std::isfinite(value) && std::abs(value) <= largest ? static_cast<float>(value) : 0.0f;
}

int TimeLimits::wholeFrames(double frames)
{
    return toInt(std::trunc(frames));
}

int TimeLimits::nearestFrame(double frames)
{
    return toInt(std::round(frames));
}
