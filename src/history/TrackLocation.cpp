#include "TrackLocation.h"

#include "HistoryManager.h"

TrackLocation TrackLocation::of(HistoryManager* history, const AnimatedObject* tracks)
{
    TrackLocation location;
    Skeleton* skeleton = history ? history->skeleton() : nullptr;
    if (!skeleton || !tracks) {
        return location;
    }
    int occurrence = 0;
    for (const auto& object : skeleton->tracks()) {
        if (object.get() == tracks) {
            location.m_animation = history->currentAnimation();
            location.m_name = tracks->name();
            location.m_occurrence = occurrence;
            return location;
        }
        occurrence += object->name() == tracks->name() ? 1 : 0;
    }
    return location;
}

AnimatedObject* TrackLocation::resolve(HistoryManager* history) const
{
    Skeleton* skeleton = history ? history->skeleton() : nullptr;
    if (!isValid() || !skeleton || !history->enterAnimation(m_animation)) {
        return nullptr;
    }
    int seen = 0;
    for (const auto& object : skeleton->tracks()) {
        if (object->name() == m_name && seen++ == m_occurrence) {
            return object.get();
        }
    }
    return nullptr;
}
