#include "AnimatedObject.h"

#include "TimeLimits.h"

#include <algorithm>
#include <cmath>

namespace {

// Durations that are not numbers would poison every time derived from them; files are held to
// an hour where they are loaded (TimeLimits), so only those are caught here.
float finiteSeconds(float seconds)
{
    return std::isfinite(seconds) ? seconds : TimeLimits::duration(seconds);
}

} // namespace

const std::array<AnimatedObject::AnimatedProperty, AnimatedObject::kChannelCount>& AnimatedObject::canonicalOrder()
{
    static const std::array<AnimatedProperty, kChannelCount> order = {LocationX, LocationY, Rotation, ScaleX, ScaleY};
    return order;
}

float AnimatedObject::channelDefault(int index)
{
    return (index == ScaleX || index == ScaleY) ? 1.0f : 0.0f;
}

AnimatedObject::AnimatedObject()
{
    for (int i = 0; i < kChannelCount; ++i) {
        m_channels[static_cast<size_t>(i)].setDefaultValue(channelDefault(i));
    }
}

void AnimatedObject::setName(const QString& name)
{
    m_name = name;
    m_duration = 0.0f;
    m_durationExplicit = false;
}

void AnimatedObject::setDuration(float value, bool isExplicit)
{
    value = finiteSeconds(value);
    if (isExplicit && value > 0.0f) {
        m_durationExplicit = true;
        m_duration = value;
    } else if (!(m_durationExplicit && !isExplicit)) {
        m_duration = value;
    }
}

bool AnimatedObject::hasKeys() const
{
    return std::any_of(m_channels.begin(), m_channels.end(),
                       [](const TSAnimationCurve& curve) { return curve.keyCount() > 0; });
}

void AnimatedObject::setChannelKeys(int index, const std::vector<bez3>& keys)
{
    if (index < 0 || index >= kChannelCount) {
        return;
    }
    channel(index).setKeys(keys.data(), static_cast<int>(keys.size()));
    if (!m_durationExplicit && !keys.empty()) {
        m_duration = std::max(m_duration, finiteSeconds(keys.back().time));
    }
}

float AnimatedObject::displayValue(int index, float t) const
{
    const TSAnimationCurve& curve = channel(index);
    const float value = curve.evaluate(t);
    switch (index) {
    case LocationX:
    case LocationY:
        return value * kLocationUnit;
    case ScaleX:
    case ScaleY:
        return (value == 0.0f && curve.keyCount() == 0) ? 1.0f : value;
    default:
        return value;
    }
}

float AnimatedObject::storedFromDisplay(int index, float displayValue)
{
    return (index == LocationX || index == LocationY) ? displayValue / kLocationUnit : displayValue;
}

void AnimatedObject::removeSingleDefaultKeys()
{
    for (AnimatedProperty index : canonicalOrder()) {
        TSAnimationCurve& curve = channel(index);
        if (curve.keyCount() == 1 && curve.key(0).value == channelDefault(index)) {
            curve.removeKey(0);
        }
    }
}

std::unique_ptr<AnimatedObject> AnimatedObject::createDefault(const QString& nodeName)
{
    auto object = std::make_unique<AnimatedObject>();
    object->setName(nodeName);
    object->setDuration(kDefaultDuration, false);
    for (AnimatedProperty index : canonicalOrder()) {
        const float value = channelDefault(index);
        const bez3 key{0.0f, 0.0f, value, 0.0f};
        object->channel(index).setKeys(&key, 1);
    }
    return object;
}
