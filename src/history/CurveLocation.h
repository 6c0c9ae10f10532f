#pragma once

#include "TrackLocation.h"

class HistoryManager;
class TSAnimationCurve;

/// Where a channel of the skeleton's tracks lives: the place of its tracks and the channel. An
/// edit recorded on a curve finds the curve again through it after the tracks were rebuilt or
/// another animation was shown meanwhile.
class CurveLocation
{
public:
    CurveLocation() = default;

    /// The place of curve among the current tracks of history's skeleton; invalid when the curve
    /// is none of their channels.
    static CurveLocation of(HistoryManager* history, const TSAnimationCurve* curve);

    bool isValid() const { return m_channel >= 0; }
    /// The channel, after making its animation current; null when it cannot be found any more.
    TSAnimationCurve* resolve(HistoryManager* history) const;

private:
    TrackLocation m_tracks;
    int m_channel = -1;
};
