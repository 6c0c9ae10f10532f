#include "CurveLocation.h"

#include "HistoryManager.h"

#include <QHash>

CurveLocation CurveLocation::of(HistoryManager* history, const TSAnimationCurve* curve)
{
    CurveLocation location;
    Skeleton* skeleton = history ? history->skeleton() : nullptr;
    if (!skeleton || !curve) {
        return location;
    }
    QHash<QString, int> seen;
    for (const auto& object : skeleton->tracks()) {
        const int occurrence = seen[object->name()]++;
        for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
            if (&object->channel(channel) == curve) {
                location.m_animation = history->currentAnimation();
                location.m_name = object->name();
                location.m_occurrence = occurrence;
                location.m_channel = channel;
                return location;
            }
        }
    }
    return location;
}

TSAnimationCurve* CurveLocation::resolve(HistoryManager* history) const
{
    Skeleton* skeleton = history ? history->skeleton() : nullptr;
    if (!isValid() || !skeleton || !history->enterAnimation(m_animation)) {
        return nullptr;
    }
    int seen = 0;
    for (const auto& object : skeleton->tracks()) {
        if (object->name() == m_name && seen++ == m_occurrence) {
            return &object->channel(m_channel);
        }
    }
    return nullptr;
}
