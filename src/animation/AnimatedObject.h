#pragma once

#include "TSAnimationCurve.h"

#include <QString>

#include <array>
#include <memory>
#include <vector>

/// The keyframes of one node (or image) in one animation: five curves for location x and y,
/// rotation, and scale x and y.
///
/// Stored units: locations in units of 200 scene pixels with y up, rotation in radians
/// counter-clockwise, scale as a factor.
class AnimatedObject
{
public:
    enum AnimatedProperty { LocationX = 0, LocationY = 1, Rotation = 2, ScaleX = 3, ScaleY = 4 };

    static constexpr int kChannelCount = 5;
    /// Pixels per stored location unit.
    static constexpr float kLocationUnit = 200.0f;
    /// Duration of the animation made for a node that has no tracks.
    static constexpr float kDefaultDuration = 1.63f;

    /// The order every loop over channels walks.
    static const std::array<AnimatedProperty, kChannelCount>& canonicalOrder();
    /// Value of a channel without keys: 1 for the scales, 0 otherwise.
    static float channelDefault(int index);

    AnimatedObject();

    TSAnimationCurve& channel(int index) { return m_channels.at(static_cast<size_t>(index)); }
    const TSAnimationCurve& channel(int index) const { return m_channels.at(static_cast<size_t>(index)); }

    const QString& name() const { return m_name; }
    /// Sets the name and starts the duration afresh (always the first thing set).
    void setName(const QString& name);
    const QString& defaultName() const { return m_defaultName; }
    void setDefaultName(const QString& name) { m_defaultName = name; }

    float duration() const { return m_duration; }
    bool isDurationExplicit() const { return m_durationExplicit; }
    /// A positive explicit duration is kept; a later non-explicit one never overrides it.
    /// A duration that is not finite reads as 0 (NaN, −∞) or an hour (+∞).
    void setDuration(float value, bool isExplicit);
    /// Puts back a duration and its explicit flag exactly as they were (undo).
    void restoreDuration(float value, bool isExplicit)
    {
        m_duration = value;
        m_durationExplicit = isExplicit;
    }

    /// Whether any channel has a key: tracks without keys (a node's default tracks) say nothing
    /// about how long the animation is.
    bool hasKeys() const;

    bool inUse() const { return m_inUse; }
    void setInUse(bool inUse) { m_inUse = inUse; }

    /// Replaces a channel's keys; without an explicit duration, a later last key extends it.
    /// Channel indices of 5 or more are ignored.
    void setChannelKeys(int index, const std::vector<bez3>& keys);

    /// A channel's value as the canvas shows it: locations in pixels, rotation in radians,
    /// scales as factors (an empty scale channel that evaluates to 0 reads as 1).
    float displayValue(int index, float t) const;
    /// The stored value of a displayed one (pixels become units of 200 for locations).
    static float storedFromDisplay(int index, float displayValue);

    /// Drops the single key of each channel that holds just its default value.
    void removeSingleDefaultKeys();

    /// The animation made for a node that has none: 1.63 s, one flat key at 0 in each channel.
    static std::unique_ptr<AnimatedObject> createDefault(const QString& nodeName);

private:
    std::array<TSAnimationCurve, kChannelCount> m_channels;
    QString m_name;
    QString m_defaultName;
    float m_duration = 0.0f;
    bool m_durationExplicit = false;
    bool m_inUse = false;
};
