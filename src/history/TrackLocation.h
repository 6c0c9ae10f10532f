#pragma once

#include <QString>

class AnimatedObject;
class HistoryManager;

/// Where tracks of the skeleton live: their animation, their name and their order among the
/// tracks of that name (a joint and an image may be named alike). An edit recorded on tracks finds
/// them again through it after they were rebuilt or another animation was shown meanwhile.
class TrackLocation
{
public:
    TrackLocation() = default;

    /// The place of tracks among the tracks of history's skeleton, in the current animation;
    /// invalid when they are none of them.
    static TrackLocation of(HistoryManager* history, const AnimatedObject* tracks);

    bool isValid() const { return m_occurrence >= 0; }
    /// The tracks, after making their animation current; null when they cannot be found any more.
    AnimatedObject* resolve(HistoryManager* history) const;

private:
    QString m_animation;
    QString m_name;
    int m_occurrence = -1;
};
