#include "TSAnimationCurveEditorDrag.h"

#include "TSAnimationCurveEditorAxes.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

using Axes = TSAnimationCurveEditorAxes;

/// The first frame whose time is later than t.
int firstFrameAfter(float t)
{
    int frame = Axes::frameOf(t) - 1;
    for (int i = 0; i < 4 && !(Axes::frameTime(frame) > t); ++i) {
        ++frame;
    }
    return frame;
}

/// The last frame whose time is earlier than t.
int lastFrameBefore(float t)
{
    int frame = Axes::frameOf(t) + 1;
    for (int i = 0; i < 4 && !(Axes::frameTime(frame) < t); ++i) {
        --frame;
    }
    return frame;
}

/// key at value, its handles moved by as much as the key from where it was.
void shiftValue(bez3& key, const bez3& from, float value)
{
    const float offset = value - from.value;
    key.value = value;
    key.inHandle = from.inHandle + offset;
    key.outHandle = from.outHandle + offset;
}

} // namespace

TSAnimationCurveEditorDrag::TSAnimationCurveEditorDrag(std::vector<bez3> pressed, std::vector<bool> selected,
                                                       const QPointF& pressPos)
    : m_pressed(std::move(pressed)), m_selected(std::move(selected)), m_pressPos(pressPos)
{
}

std::vector<bez3> TSAnimationCurveEditorDrag::movedKeys(const QPointF& pos, bool fine, const Axes& axes) const
{
    const int frame = axes.frameAt(pos.x());
    const double pointed = axes.value(pos.y());
    const float value = static_cast<float>(fine ? pointed : Axes::roundValue(pointed));
    const size_t count = m_pressed.size();
    const int lastFrame = axes.frameCount() - 1;
    std::vector<bez3> result = m_pressed;
    for (size_t i = 0; i < count; ++i) {
        if (!isSelected(i)) {
            continue;
        }
        // On a frame between the neighbours.
        const int earliest = i > 0 ? std::max(0, firstFrameAfter(m_pressed[i - 1].time)) : 0;
        const int latest =
            i + 1 < count ? std::min(lastFrame, lastFrameBefore(m_pressed[i + 1].time)) : lastFrame;
        if (earliest <= latest) {
            result[i].time = Axes::frameTime(std::clamp(frame, earliest, latest));
        }
        shiftValue(result[i], m_pressed[i], value);
    }
    return result;
}

std::vector<bez3> TSAnimationCurveEditorDrag::movedBox(const QPointF& pos, bool fine, const Axes& axes) const
{
    const size_t count = m_pressed.size();
    // The frame offset stops where a selected key would meet a key left behind or an end.
    int lowest = INT_MIN / 2;
    int highest = INT_MAX / 2;
    for (size_t i = 0; i < count; ++i) {
        if (!isSelected(i)) {
            continue;
        }
        const int frame = Axes::frameOf(m_pressed[i].time);
        lowest = std::max(lowest, -frame);
        highest = std::min(highest, axes.frameCount() - 1 - frame);
        if (i > 0 && !isSelected(i - 1)) {
            lowest = std::max(lowest, firstFrameAfter(m_pressed[i - 1].time) - frame);
        }
        if (i + 1 < count && !isSelected(i + 1)) {
            highest = std::min(highest, lastFrameBefore(m_pressed[i + 1].time) - frame);
        }
    }
    const double frames = std::clamp((pos.x() - m_pressPos.x()) / axes.frameWidth(), -1e6, 1e6);
    int offset = static_cast<int>(std::lround(frames));
    offset = lowest <= highest ? std::clamp(offset, std::min(lowest, 0), std::max(highest, 0)) : 0;
    double lift = (m_pressPos.y() - pos.y()) / axes.scaleY();
    lift = fine ? lift : Axes::roundValue(lift);

    std::vector<bez3> result = m_pressed;
    for (size_t i = 0; i < count; ++i) {
        if (isSelected(i)) {
            if (offset != 0) {
                result[i].time = Axes::frameTime(Axes::frameOf(m_pressed[i].time) + offset);
            }
            shiftValue(result[i], m_pressed[i], static_cast<float>(m_pressed[i].value + lift));
        }
    }
    return result;
}

std::vector<bez3> TSAnimationCurveEditorDrag::scaledBox(bool left, bool right, bool top, bool bottom,
                                                        const QPointF& pos, bool fine, const Axes& axes) const
{
    std::vector<size_t> selected;
    for (size_t i = 0; i < m_pressed.size(); ++i) {
        if (isSelected(i)) {
            selected.push_back(i);
        }
    }
    std::vector<bez3> result = m_pressed;
    if (selected.size() < 2) {
        return result;
    }
    auto byTime = [this](size_t a, size_t b) { return m_pressed[a].time < m_pressed[b].time; };
    auto byValue = [this](size_t a, size_t b) { return m_pressed[a].value < m_pressed[b].value; };
    const auto [first, last] = std::minmax_element(selected.begin(), selected.end(), byTime);
    const auto [low, high] = std::minmax_element(selected.begin(), selected.end(), byValue);
    const double tMin = m_pressed[*first].time;
    const double tMax = m_pressed[*last].time;
    const double vMin = m_pressed[*low].value;
    const double vMax = m_pressed[*high].value;

    if ((left || right) && tMax > tMin) {
        const double edge = left ? tMin : tMax;
        const double anchor = left ? tMax : tMin;
        const double moved = edge + (pos.x() - m_pressPos.x()) / axes.scaleX();
        const double factor = std::max(0.0, (moved - anchor) / (edge - anchor));
        for (size_t i : selected) {
            const double time = anchor + (m_pressed[i].time - anchor) * factor;
            result[i].time = Axes::frameTime(std::clamp(Axes::frameOf(time), 0, axes.frameCount() - 1));
        }
    }
    if ((top || bottom) && vMax > vMin) {
        const double edge = top ? vMax : vMin;
        const double anchor = top ? vMin : vMax;
        const double moved = edge + (m_pressPos.y() - pos.y()) / axes.scaleY();
        const double factor = std::max(0.0, (moved - anchor) / (edge - anchor));
        for (size_t i : selected) {
            const bez3& from = m_pressed[i];
            const double scaled = anchor + (from.value - anchor) * factor;
            bez3& key = result[i];
            key.value = static_cast<float>(fine ? scaled : Axes::roundValue(scaled));
            key.inHandle = static_cast<float>(key.value + (from.inHandle - from.value) * factor);
            key.outHandle = static_cast<float>(key.value + (from.outHandle - from.value) * factor);
        }
    }
    return result;
}

std::vector<bez3> TSAnimationCurveEditorDrag::inOrder(std::vector<bez3> proposed,
                                                      const std::vector<bez3>& fallback) const
{
    if (proposed.size() != m_pressed.size() || fallback.size() != m_pressed.size()) {
        return fallback;
    }
    for (size_t i = 0; i + 1 < proposed.size(); ++i) {
        if (m_pressed[i].time < m_pressed[i + 1].time && !(proposed[i].time < proposed[i + 1].time)) {
            for (size_t k = 0; k < proposed.size(); ++k) {
                proposed[k].time = fallback[k].time;
            }
            break;
        }
    }
    return proposed;
}
