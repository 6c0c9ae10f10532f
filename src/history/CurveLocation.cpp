#include "CurveLocation.h"

#include "HistoryManager.h"

CurveLocation CurveLocation::of(HistoryManager* history, const TSAnimationCurve* curve)
{
    CurveLocation location;
    Skeleton* skeleton = history ? history->skeleton() : nullptr;
    if (!skeleton || !curve) {
        return location;
    }
    for (const auto& object : skeleton->tracks()) {
        for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
            if (&object->channel(channel) == curve) {
                location.m_tracks = TrackLocation::of(history, object.get());
                location.m_channel = channel;
                return location;
            }
        }
    }
    return location;
}

TSAnimationCurve* CurveLocation::resolve(HistoryManager* history) const
{
    AnimatedObject* tracks = isValid() ? m_tracks.resolve(history) : nullptr;
    return tracks ? &tracks->channel(m_channel) : nullptr;
}
