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
        keys.channels.emplace_back(curve.keys(), curve.keys() + curve.keyCount());
    }
    keys.duration = tracks.duration();
    keys.isExplicit = tracks.isDurationExplicit();
    keys.inUse = tracks.inUse();
    return keys;
}

void TrackKeysCommand::restore(const Keys& keys)
{
    AnimatedObject* tracks = resolve();
    if (!tracks) {
        return;
    }
    for (int i = 0; i < m_channels.size(); ++i) {
        const std::vector<bez3>& channel = keys.channels.at(static_cast<size_t>(i));
        tracks->channel(m_channels.at(i)).setKeys(channel.data(), static_cast<int>(channel.size()));
    }
    tracks->restoreDuration(keys.duration, keys.isExplicit);
    tracks->setInUse(keys.inUse);
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
    // Edited tracks belong to the animation (a node's default ones are not saved before).
    tracks->setInUse(true);
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

TrackDurationCommand::TrackDurationCommand(HistoryManager* history, AnimatedObject* tracks, float seconds,
                                           bool isExplicit)
    : TrackKeysCommand(QStringLiteral("Set duration"), history, tracks, {}), m_seconds(seconds),
      m_isExplicit(isExplicit)
{
}

void TrackDurationCommand::edit(AnimatedObject& tracks)
{
    tracks.setDuration(m_seconds, m_isExplicit);
}

AddTracksCommand::AddTracksCommand(HistoryManager* history, std::unique_ptr<AnimatedObject> tracks)
    : HistoryCommand(QStringLiteral("Add tracks")), m_history(history), m_animation(history->currentAnimation()),
      m_name(tracks->name()), m_kept(std::move(tracks))
{
}

void AddTracksCommand::apply()
{
    Skeleton* skeleton = m_history->skeleton();
    if (!m_kept || !skeleton || !m_history->enterAnimation(m_animation)) {
        return;
    }
    const bool first = !m_location.isValid();
    if (first) {
        // Tracks named alike that the animation does not keep yet (a node's default ones, when
        // an image is named after its node) are kept from now on: opened again, the animation
        // must give the node its own tracks, not the ones made here.
        for (const auto& object : skeleton->tracks()) {
            if (object->name() == m_name && !object->inUse()) {
                m_namesakes.append(TrackLocation::of(m_history, object.get()));
            }
        }
    }
    setNamesakesInUse(true);
    m_added = skeleton->restoreTracks(std::move(m_kept));
    m_location = TrackLocation::of(m_history, m_added);
    // The first time, the gesture goes on to key them and poses the skeleton then.
    if (!first) {
        m_history->refreshSkeleton();
    }
}

void AddTracksCommand::revert()
{
    Skeleton* skeleton = m_history->skeleton();
    AnimatedObject* tracks = skeleton ? m_location.resolve(m_history) : nullptr;
    if (tracks) {
        m_kept = skeleton->takeTracks(tracks);
        m_added = nullptr;
        setNamesakesInUse(false);
        m_history->refreshSkeleton();
    }
}

void AddTracksCommand::setNamesakesInUse(bool inUse)
{
    for (const TrackLocation& location : qAsConst(m_namesakes)) {
        if (AnimatedObject* namesake = location.resolve(m_history)) {
            namesake->setInUse(inUse);
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
