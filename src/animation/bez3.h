#pragma once

/// One key of an animation curve: its time and value with the values of its two Bézier handles.
/// Handle times are implicit (one and two thirds of each segment).
struct bez3
{
    float inHandle = 0.0f;  ///< second inner control value of the segment ending here
    float time = 0.0f;      ///< seconds
    float value = 0.0f;
    float outHandle = 0.0f; ///< first inner control value of the segment starting here
};
