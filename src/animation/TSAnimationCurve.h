#pragma once

#include "bez3.h"

#include <QList>
#include <QPointF>

#include <algorithm>
#include <memory>
#include <vector>

namespace cocos2d {
class CCDictionary;
}

/// The keyframe track of one animated value: keys ordered by time, evaluated segment by segment
/// as a cubic Bézier in the value dimension with the segment parameter linear in time.
class TSAnimationCurve
{
public:
    /// Number of the curve made by hand rather than from a preset.
    static constexpr int kCustomPreset = 4;
    static constexpr int kPresetCount = 6;
    /// Keys closer than this to a time count as "near" it (one frame at 60 fps).
    static constexpr float kNearTolerance = 1.0f / 60.0f;
    /// Keys closer than this to a time count as "at" it (half a frame).
    static constexpr float kExactTolerance = 1.0f / 120.0f;

    TSAnimationCurve() = default;
    /// Copies the keys only: the copy has default value 0 and is a custom curve.
    TSAnimationCurve(const TSAnimationCurve& other);
    TSAnimationCurve& operator=(const TSAnimationCurve& other);
    /// Moving keeps everything: the curve is the same one in a new place (a list that grows).
    TSAnimationCurve(TSAnimationCurve&& other) noexcept = default;
    TSAnimationCurve& operator=(TSAnimationCurve&& other) noexcept = default;
    virtual ~TSAnimationCurve() = default;

    /// Appends the keys stored under "points" and takes "preset".
    virtual void loadFromDictionary(const cocos2d::CCDictionary* dict);
    /// "points" (two "{%.3f,%.3f}" strings per key) and "preset"; autoreleased.
    virtual cocos2d::CCDictionary* saveToDictionary() const;

    /// The value at time t. Inline: playback and export evaluate five curves per node per frame.
    float evaluate(float t) const;
    /// The value at t of the segment from k0 to k1 (t between their times).
    static float segmentValue(const bez3& k0, const bez3& k1, float t);

    /// Sets the key at exactly t, or inserts a new flat key; with smooth, gives every inner key
    /// automatic handles from its neighbours.
    void insertKey(float value, float t, bool smooth);
    /// Writes a key the way an edit at time t means it: the key nearest to t within a frame
    /// (kNearTolerance) moves to t and takes value with flat handles; without one, a new key is
    /// inserted with smoothing. So a write never leaves two keys within a frame of each other.
    void writeKey(float value, float t);
    /// Inserts a key inside a segment by splitting it, so inserting the curve's own value keeps
    /// its shape.
    void insertKeyKeepingShape(float value, float t);

    bool hasKeyNear(float t) const;
    /// First key within half a frame of t (or, unless exactOnly, the first later key); -1 if none.
    int findKey(float t, bool exactOnly) const;
    void removeKeyNear(float t);
    void removeKey(int index);

    int keyCount() const { return static_cast<int>(m_keys.size()); }
    const bez3* keys() const { return m_keys.data(); }
    bez3 key(int index) const { return m_keys.at(static_cast<size_t>(index)); }
    QPointF keyPoint(int index) const;
    void setKey(int index, float inHandle, float time, float value, float outHandle);
    void setKeyPoint(int index, float time, float value);
    void swapKeys(int i, int j);
    void setKeys(const bez3* keys, int count);
    bool isKeyLater(int i, int j) const;
    /// Frame of each key at 60 fps (time × 60 to the nearest whole number).
    QList<int> keyFrames() const;

    float defaultValue() const { return m_defaultValue; }
    void setDefaultValue(float value) { m_defaultValue = value; }
    int preset() const { return m_preset; }
    void setPreset(int preset) { m_preset = preset; }

    static bool keysEqual(const bez3& a, const bez3& b);

    /// A fresh copy of preset 0–5; preset 4 (custom) copies custom, or is empty without it.
    static std::unique_ptr<TSAnimationCurve> createPreset(int preset, const TSAnimationCurve* custom = nullptr);

private:
    bool validIndex(int index) const { return index >= 0 && index < keyCount(); }
    void smoothInnerKeys();
    /// Notes whether the key times are in order, after anything that may have moved one.
    void keyTimesChanged();
    /// Index of the first key later than t (keyCount() when there is none).
    size_t firstKeyLaterThan(float t) const;

    std::vector<bez3> m_keys;
    /// Every key time is a number and none is earlier than the one before it: the first key
    /// later than a time can then be found by halving.
    bool m_ordered = true;
    float m_defaultValue = 0.0f;
    int m_preset = kCustomPreset;
};

inline size_t TSAnimationCurve::firstKeyLaterThan(float t) const
{
    const size_t count = m_keys.size();
    if (!m_ordered) {
        size_t k = 0;
        while (k < count && !(m_keys[k].time > t)) {
            ++k;
        }
        return k;
    }
    // Keys in order fall into those not later than t and those later, in that order, so halving
    // finds the key at which the scan stops.
    const auto later = std::upper_bound(m_keys.begin(), m_keys.end(), t,
                                        [](float time, const bez3& key) { return key.time > time; });
    return static_cast<size_t>(later - m_keys.begin());
}

inline float TSAnimationCurve::evaluate(float t) const
{
    const size_t count = m_keys.size();
    if (count == 0) {
        return m_defaultValue;
    }
    if (count == 1) {
        return m_keys.front().value;
    }
    // The segment starts at the last key at or before t, which is where a scan from the first
    // key stops; before the first key and from the last key on the curve is flat.
    const size_t later = firstKeyLaterThan(t);
    if (later == 0) {
        return m_keys.front().value;
    }
    if (later == count) {
        return m_keys.back().value;
    }
    return segmentValue(m_keys[later - 1], m_keys[later], t);
}

inline float TSAnimationCurve::segmentValue(const bez3& k0, const bez3& k1, float t)
{
    const float s = (t - k0.time) / (k1.time - k0.time);
    const float u = 1.0f - s;
    return u * u * u * k0.value + 3.0f * s * u * u * k0.outHandle + 3.0f * s * s * u * k1.inHandle +
           s * s * s * k1.value;
}
