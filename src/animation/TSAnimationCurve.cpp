#include "TSAnimationCurve.h"

#include "CCArray.h"
#include "CCDictionary.h"
#include "CCGeometry.h"
#include "CCString.h"
#include "TimeLimits.h"

#include <QtGlobal>

#include <array>
#include <cmath>

using namespace cocos2d;

TSAnimationCurve::TSAnimationCurve(const TSAnimationCurve& other)
    : m_keys(other.m_keys), m_ordered(other.m_ordered)
{
}

TSAnimationCurve& TSAnimationCurve::operator=(const TSAnimationCurve& other)
{
    if (this != &other) {
        m_keys = other.m_keys;
        m_ordered = other.m_ordered;
        m_defaultValue = 0.0f;
        m_preset = kCustomPreset;
    }
    return *this;
}

void TSAnimationCurve::keyTimesChanged()
{
    m_ordered = true;
    for (size_t i = 0; i < m_keys.size() && m_ordered; ++i) {
        m_ordered = !std::isnan(m_keys[i].time) && (i == 0 || !(m_keys[i - 1].time > m_keys[i].time));
    }
}

void TSAnimationCurve::insertKey(float value, float t, bool smooth)
{
    for (bez3& key : m_keys) {
        if (key.time == t) {
            key.inHandle = key.value = key.outHandle = value;
            return;
        }
    }
    auto it = m_keys.begin();
    while (it != m_keys.end() && !(it->time > t)) {
        ++it;
    }
    m_keys.insert(it, bez3{value, t, value, value});
    keyTimesChanged();
    if (smooth) {
        smoothInnerKeys();
    }
}

void TSAnimationCurve::writeKey(float value, float t)
{
    int nearest = -1;
    for (size_t i = 0; i < m_keys.size(); ++i) {
        const float distance = std::fabs(m_keys[i].time - t);
        if (distance < kNearTolerance &&
            (nearest < 0 || distance < std::fabs(m_keys[static_cast<size_t>(nearest)].time - t))) {
            nearest = static_cast<int>(i);
        }
    }
    // The nearest key cannot pass another one on its way to t: that one would be nearer.
    if (nearest >= 0) {
        m_keys[static_cast<size_t>(nearest)].time = t;
        keyTimesChanged();
    }
    insertKey(value, t, true);
}

void TSAnimationCurve::smoothInnerKeys()
{
    // Handles parallel to the line between the neighbours, symmetric about the key value.
    for (size_t i = 1; i + 1 < m_keys.size(); ++i) {
        bez3& key = m_keys[i];
        float in = (m_keys[i - 1].value + key.value) / 2.0f;
        float out = (key.value + m_keys[i + 1].value) / 2.0f;
        const float d = ((key.value - out) + (key.value - in)) / 2.0f;
        key.inHandle = in + d;
        key.outHandle = out + d;
    }
}

void TSAnimationCurve::insertKeyKeepingShape(float value, float t)
{
    const int j = findKey(t, false);
    const bool insideSegment =
        j > 0 && !(std::fabs(m_keys[static_cast<size_t>(j)].time - t) < kExactTolerance);
    if (insideSegment) {
        // de Casteljau subdivision of the segment at s.
        bez3& left = m_keys[static_cast<size_t>(j - 1)];
        bez3& right = m_keys[static_cast<size_t>(j)];
        const float s = (t - left.time) / (right.time - left.time);
        const float u = 1.0f - s;
        const float p01 = u * left.value + s * left.outHandle;
        const float p12 = u * left.outHandle + s * right.inHandle;
        const float p23 = u * right.inHandle + s * right.value;
        left.outHandle = p01;
        right.inHandle = p23;
        insertKey(value, t, false);
        bez3& inserted = m_keys[static_cast<size_t>(j)];
        inserted.inHandle = u * p01 + s * p12;
        inserted.outHandle = u * p12 + s * p23;
        return;
    }
    insertKey(value, t, false);
    const int k = findKey(t, false);
    if (k > 0) {
        m_keys[static_cast<size_t>(k - 1)].outHandle = value;
    } else if (k == 0 && m_keys.size() >= 2) {
        m_keys[1].inHandle = value;
    }
}

bool TSAnimationCurve::hasKeyNear(float t) const
{
    for (const bez3& key : m_keys) {
        if (std::fabs(key.time - t) < kNearTolerance) {
            return true;
        }
    }
    return false;
}

int TSAnimationCurve::findKey(float t, bool exactOnly) const
{
    for (size_t i = 0; i < m_keys.size(); ++i) {
        const float time = m_keys[i].time;
        if (std::fabs(time - t) < kExactTolerance || (!exactOnly && time > t)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TSAnimationCurve::removeKeyNear(float t)
{
    for (size_t i = 0; i < m_keys.size(); ++i) {
        if (std::fabs(m_keys[i].time - t) < kNearTolerance) {
            m_keys.erase(m_keys.begin() + static_cast<long>(i));
            keyTimesChanged();
            return;
        }
    }
}

void TSAnimationCurve::removeKey(int index)
{
    if (validIndex(index)) {
        m_keys.erase(m_keys.begin() + index);
        keyTimesChanged();
    }
}

QPointF TSAnimationCurve::keyPoint(int index) const
{
    const bez3& k = m_keys.at(static_cast<size_t>(index));
    return QPointF(k.time, k.value);
}

void TSAnimationCurve::setKey(int index, float inHandle, float time, float value, float outHandle)
{
    if (validIndex(index)) {
        m_keys[static_cast<size_t>(index)] = bez3{inHandle, time, value, outHandle};
        keyTimesChanged();
    }
}

void TSAnimationCurve::setKeyPoint(int index, float time, float value)
{
    if (validIndex(index)) {
        m_keys[static_cast<size_t>(index)].time = time;
        m_keys[static_cast<size_t>(index)].value = value;
        keyTimesChanged();
    }
}

void TSAnimationCurve::swapKeys(int i, int j)
{
    if (validIndex(i) && validIndex(j)) {
        std::swap(m_keys[static_cast<size_t>(i)], m_keys[static_cast<size_t>(j)]);
        keyTimesChanged();
    }
}

void TSAnimationCurve::setKeys(const bez3* keys, int count)
{
    if (!keys || count <= 0) {
        m_keys.clear();
    } else {
        m_keys.assign(keys, keys + count);
    }
    keyTimesChanged();
}

bool TSAnimationCurve::isKeyLater(int i, int j) const
{
    return validIndex(i) && validIndex(j) &&
           m_keys[static_cast<size_t>(i)].time > m_keys[static_cast<size_t>(j)].time;
}

QList<int> TSAnimationCurve::keyFrames() const
{
    QList<int> frames;
    frames.reserve(keyCount());
    for (const bez3& key : m_keys) {
        frames.append(TimeLimits::nearestFrame(static_cast<double>(key.time) * 60.0));
    }
    return frames;
}

bool TSAnimationCurve::keysEqual(const bez3& a, const bez3& b)
{
    return a.inHandle == b.inHandle && a.outHandle == b.outHandle && a.time == b.time && a.value == b.value;
}

void TSAnimationCurve::loadFromDictionary(const CCDictionary* dict)
{
    if (!dict) {
        return;
    }
    if (const auto* points = dict->objectForKeyAs<CCArray>("points"); points && points->count() > 1) {
        auto textAt = [points](unsigned i) {
            const auto* text = dynamic_cast<const CCString*>(points->objectAtIndex(i));
            return text ? text->string() : std::string();
        };
        const unsigned pairs = points->count() / 2;
        m_keys.reserve(m_keys.size() + pairs);
        int clamped = 0;
        for (unsigned i = 0; i < pairs; ++i) {
            const CCPoint point = pointFromString(textAt(2 * i));
            const CCPoint handles = pointFromString(textAt(2 * i + 1));
            const bez3 read{handles.x, point.x, point.y, handles.y};
            const bez3 key{TimeLimits::keyValue(read.inHandle), TimeLimits::keyTime(read.time),
                           TimeLimits::keyValue(read.value), TimeLimits::keyValue(read.outHandle)};
            // NaN compares unequal to itself, so a key with one is counted too.
            clamped += keysEqual(key, read) ? 0 : 1;
            m_keys.push_back(key);
        }
        keyTimesChanged();
        if (clamped > 0) {
            qWarning("[TSAnimationCurve] %d key(s) with a time or value out of range clamped", clamped);
        }
    }
    if (const auto* preset = dict->objectForKeyAs<CCString>("preset")) {
        m_preset = preset->intValue();
    }
}

CCDictionary* TSAnimationCurve::saveToDictionary() const
{
    auto* dict = CCDictionary::create();
    auto* points = CCArray::createWithCapacity(static_cast<unsigned>(m_keys.size() * 2));
    for (const bez3& key : m_keys) {
        points->addObject(CCString::createWithPoint(key.time, key.value, 3));
        points->addObject(CCString::createWithPoint(key.inHandle, key.outHandle, 3));
    }
    dict->setObject(points, "points");
    dict->setObject(CCString::createWithInteger(m_preset), "preset");
    return dict;
}

std::unique_ptr<TSAnimationCurve> TSAnimationCurve::createPreset(int preset, const TSAnimationCurve* custom)
{
    // Built once with smoothing, in the listed order, and handed out as copies.
    static const std::array<TSAnimationCurve, kPresetCount> prototypes = [] {
        std::array<TSAnimationCurve, kPresetCount> curves;
        using Key = std::pair<float, float>; // time, value
        const std::vector<std::vector<Key>> keys = {
            {{0.0f, 0.0f}, {1.0f, 0.0f}},
            {{0.0f, 0.0f}, {0.5f, 0.1f}, {0.75f, 0.4f}, {0.95f, 0.8f}, {1.0f, 1.0f}},
            {{1.0f, 1.0f}, {0.5f, 0.9f}, {0.25f, 0.6f}, {0.05f, 0.2f}, {0.0f, 0.0f}},
            {{0.0f, 0.0f},
             {0.25f, -0.1f},
             {0.35f, 0.1f},
             {0.47f, -0.3f},
             {0.6f, 0.4f},
             {0.72f, -1.0f},
             {0.8f, 1.3f}},
        };
        for (size_t p = 0; p < keys.size(); ++p) {
            for (const Key& key : keys[p]) {
                curves[p].insertKey(key.second, key.first, true);
            }
        }
        return curves;
    }();

    if (preset < 0 || preset >= kPresetCount) {
        return nullptr;
    }
    std::unique_ptr<TSAnimationCurve> curve;
    if (preset == kCustomPreset && custom) {
        curve = std::make_unique<TSAnimationCurve>(*custom);
    } else {
        curve = std::make_unique<TSAnimationCurve>(prototypes[static_cast<size_t>(preset)]);
    }
    curve->setPreset(preset);
    return curve;
}
