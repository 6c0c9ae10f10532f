#include "TrackKeysCommand.h"

#include "HistoryManager.h"

TrackKeysCommand::TrackKeysCommand(const QString& text, HistoryManager* history, AnimatedObject* tracks,
                                   QList<int> channels)
    : HistoryCommand(text), m_history(history), m_direct(tracks), m_animation(history->currentAnimation()),
      m_name(tracks->name()), m_channels(std::move(channels))
{
    // Tracks of the same name (a node and an image named alike) are told apart by their order.
    if (Skeleton* skeleton = history->skeleton()) {
        for (const auto& object : skeleton->tracks()) {
            if (object.get() == tracks) {
                break;
            }
            m_occurrence += object->name() == m_name ? 1 : 0;
        }
    }
}

AnimatedObject* TrackKeysCommand::resolve()
{
    Skeleton* skeleton = m_history->skeleton();
    if (!skeleton) {
        return m_direct;
    }
    if (!m_history->enterAnimation(m_animation)) {
        return nullptr;
    }
    int seen = 0;
    for (const auto& object : skeleton->tracks()) {
        if (object->name() == m_name && seen++ == m_occurrence) {
            return object.get();
        }
    }
    return nullptr;
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

DeleteKeyframeCommand::DeleteKeyframeCommand(HistoryManager* history, AnimatedObject* tracks, int frame)
    : TrackKeysCommand(QStringLiteral("Delete keyframe"), history, tracks, {0, 1, 2, 3, 4}), m_frame(frame)
{
}

void DeleteKeyframeCommand::edit(AnimatedObject& tracks)
{
    for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
        TSAnimationCurve& curve = tracks.channel(channel);
        const QList<int> frames = curve.keyFrames();
        for (int index = frames.size() - 1; index >= 0; --index) {
            if (frames.at(index) == m_frame) {
                curve.removeKey(index);
            }
        }
    }
}
