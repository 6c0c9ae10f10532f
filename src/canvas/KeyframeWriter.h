#pragma once

#include "AnimatedObject.h"

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
    }
    void endMacro() override {}
};
