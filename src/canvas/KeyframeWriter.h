#pragma once

#include "AnimatedObject.h"
#include "AnimationTracks.h"

#include <QString>

/// Where the canvas writes the keys a manipulation makes. The undo history implements it so
/// every key can be undone; DirectKeyframeWriter writes straight into the curves.
class KeyframeWriter
{
public:
    virtual ~KeyframeWriter() = default;

    virtual void beginMacro(const QString& text) = 0;
    /// Sets the key of property at time to newValue; oldValue is the curve's value there before,
    /// isNewPoint whether no key existed there.
    virtual void changeAnimatedObjectValue(AnimatedObject* object, AnimatedObject::AnimatedProperty property,
                                           float time, float oldValue, float newValue, bool isNewPoint) = 0;
    virtual void endMacro() = 0;
    /// Adds the tracks made for a node or an image that had none to list; returns them.
    virtual AnimatedObject* addTracks(AnimationTracks& list, std::unique_ptr<AnimatedObject> tracks)
    {
        return list.append(std::move(tracks));
    }
    /// Gives tracks a length (their first key gives them the animation's).
    virtual void setTracksDuration(AnimatedObject* tracks, float seconds, bool isExplicit)
    {
        tracks->setDuration(seconds, isExplicit);
    }
};

/// Writes keys into the curves at once, without history.
class DirectKeyframeWriter : public KeyframeWriter
{
public:
    void beginMacro(const QString&) override {}
    void changeAnimatedObjectValue(AnimatedObject* object, AnimatedObject::AnimatedProperty property, float time,
                                   float, float newValue, bool) override
    {
        object->channel(property).writeKey(newValue, time);
        object->setInUse(true);
    }
    void endMacro() override {}
};
