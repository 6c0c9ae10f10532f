#include "TrackKeysCommand.h"

#include "HistoryManager.h"

#include <algorithm>

TrackKeysCommand::TrackKeysCommand(const QString& text, HistoryManager* history, AnimatedObject* tracks,
                                   QList<int> channels)
    : HistoryCommand(text), m_history(history), m_direct(tracks),
      m_location(TrackLocation::of(history, tracks)), m_channels(std::move(channels))
{
}

AnimatedObject* TrackKeysCommand::resolve()
{
    // Without a skeleton the tracks can only be the ones the command was made on.
    return m_history->skeleton() ? m_location.resolve(m_history) : m_direct;
}

TrackKeysCommand::Keys TrackKeysCommand::keysOf(const AnimatedObject& tracks) const
{
    Keys keys;
    for (int channel : m_channels) {
        const TSAnimationCurve& curve = tracks.channel(channel);
        keys.emplace_back(curve.keys(), curve.keys() + curve.keyCount());
    }
    return keys;
}

void TrackKeysCommand::restore(const Keys& keys)
{
    AnimatedObject* tracks = resolve();
    if (!tracks) {
        return;
    }
    for (int i = 0; i < m_channels.size(); ++i) {
        const std::vector<bez3>& channel = keys.at(static_cast<size_t>(i));
        tracks->channel(m_channels.at(i)).setKeys(channel.data(), static_cast<int>(channel.size()));
    }
    m_history->refreshSkeleton();
}

void TrackKeysCommand::apply()
{
    if (m_edited) {
        restore(m_after);
        return;
    }
    AnimatedObject* tracks = resolve();
    if (!tracks) {
        return;
    }
    m_before = keysOf(*tracks);
    edit(*tracks);
    m_after = keysOf(*tracks);
    m_edited = true;
    m_history->refreshSkeleton();
}

void TrackKeysCommand::revert()
{
    if (m_edited) {
        restore(m_before);
    }
}

AnimationCurveSetValueCommand::AnimationCurveSetValueCommand(HistoryManager* history, AnimatedObject* tracks,
                                                             AnimatedObject::AnimatedProperty property, float time,
                                                             float value)
    : TrackKeysCommand(QStringLiteral("Set key value"), history, tracks, {property}), m_property(property),
      m_time(time), m_value(value)
{
}

void AnimationCurveSetValueCommand::edit(AnimatedObject& tracks)
{
    tracks.channel(m_property).writeKey(m_value, m_time);
}

DeleteKeyframeCommand::DeleteKeyframeCommand(HistoryManager* history, AnimatedObject* tracks, int frame,
                                             QList<int> channels)
    : TrackKeysCommand(QStringLiteral("Delete keyframe"), history, tracks, std::move(channels)), m_frame(frame)
{
}

void DeleteKeyframeCommand::edit(AnimatedObject& tracks)
{
    for (int channel : channels()) {
        TSAnimationCurve& curve = tracks.channel(channel);
        const QList<int> frames = curve.keyFrames();
        for (int index = frames.size() - 1; index >= 0; --index) {
            if (frames.at(index) == m_frame) {
                curve.removeKey(index);
            }
        }
    }
}

CreateKeyframeCommand::CreateKeyframeCommand(HistoryManager* history, AnimatedObject* tracks, QList<int> channels,
                                             int frame)
    : TrackKeysCommand(QStringLiteral("Create keyframe"), history, tracks, std::move(channels)), m_frame(frame)
{
}

void CreateKeyframeCommand::edit(AnimatedObject& tracks)
{
    const float time = static_cast<float>(m_frame) / 60.0f;
    for (int channel : channels()) {
        TSAnimationCurve& curve = tracks.channel(channel);
        if (curve.keyFrames().contains(m_frame)) {
            continue;
        }
        const float value = curve.keyCount() > 0 ? curve.evaluate(time) : AnimatedObject::channelDefault(channel);
        curve.insertKeyKeepingShape(value, time);
    }
}

MoveKeyframeCommand::MoveKeyframeCommand(HistoryManager* history, AnimatedObject* tracks, QList<int> channels,
                                         int from, int to)
    : TrackKeysCommand(QStringLiteral("Move keyframe"), history, tracks, std::move(channels)), m_from(from),
      m_to(to)
{
}

void MoveKeyframeCommand::edit(AnimatedObject& tracks)
{
    for (int channel : channels()) {
        TSAnimationCurve& curve = tracks.channel(channel);
        const QList<int> frames = curve.keyFrames();
        const int index = frames.indexOf(m_from);
        if (index < 0 || frames.contains(m_to)) {
            continue;
        }
        std::vector<bez3> keys(curve.keys(), curve.keys() + curve.keyCount());
        keys[static_cast<size_t>(index)].time = static_cast<float>(m_to) / 60.0f;
        // A key may pass others on its way; the curve keeps its keys in time order.
        std::stable_sort(keys.begin(), keys.end(), [](const bez3& a, const bez3& b) { return a.time < b.time; });
        curve.setKeys(keys.data(), static_cast<int>(keys.size()));
    }
}
