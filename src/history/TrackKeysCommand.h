#pragma once

#include "AnimatedObject.h"
#include "HistoryCommand.h"
#include "TrackLocation.h"

#include <QList>

#include <memory>
#include <vector>

class HistoryManager;

/// Key edits of one node's or image's tracks in one animation. The command keeps the keys of
/// the channels it changes, and the length of the tracks, as they were before and after its
/// first run and puts them back exactly, handles included. Made in one animation, it makes that
/// animation current again before it acts, and finds the tracks there by name.
class TrackKeysCommand : public HistoryCommand
{
public:
    TrackKeysCommand(const QString& text, HistoryManager* history, AnimatedObject* tracks, QList<int> channels);

protected:
    void apply() override;
    void revert() override;
    /// The first run's edit of the tracks (the keys before it are already kept).
    virtual void edit(AnimatedObject& tracks) = 0;
    /// The channels the command changes.
    const QList<int>& channels() const { return m_channels; }

private:
    struct Keys
    {
        std::vector<std::vector<bez3>> channels;
        float duration = 0.0f;
        bool isExplicit = false;
        bool inUse = false;
    };

    AnimatedObject* resolve();
    Keys keysOf(const AnimatedObject& tracks) const;
    void restore(const Keys& keys);

    HistoryManager* m_history;
    AnimatedObject* m_direct;
    TrackLocation m_location;
    QList<int> m_channels;
    bool m_edited = false;
    Keys m_before;
    Keys m_after;
};

/// Writes one key ("Set key value"): a key within a frame of the time is moved there and
/// overwritten rather than doubled.
class AnimationCurveSetValueCommand : public TrackKeysCommand
{
public:
    AnimationCurveSetValueCommand(HistoryManager* history, AnimatedObject* tracks,
                                  AnimatedObject::AnimatedProperty property, float time, float value);

protected:
    void edit(AnimatedObject& tracks) override;

private:
    AnimatedObject::AnimatedProperty m_property;
    float m_time;
    float m_value;
};

/// Gives tracks a length: the first key of tracks without keys makes them count for the
/// animation's length.
class TrackDurationCommand : public TrackKeysCommand
{
public:
    TrackDurationCommand(HistoryManager* history, AnimatedObject* tracks, float seconds, bool isExplicit);

protected:
    void edit(AnimatedObject& tracks) override;

private:
    float m_seconds;
    bool m_isExplicit;
};

/// Tracks made for a node or an image that had none, when it is first keyed: undo takes them
/// out of their animation again and keeps them for redo.
class AddTracksCommand : public HistoryCommand
{
public:
    AddTracksCommand(HistoryManager* history, std::unique_ptr<AnimatedObject> tracks);
    /// The tracks while they are in the animation.
    AnimatedObject* tracks() const { return m_added; }

protected:
    void apply() override;
    void revert() override;

private:
    void setNamesakesInUse(bool inUse);

    HistoryManager* m_history;
    QString m_animation;
    QString m_name;
    /// Where the tracks stand once added (invalid before the first run).
    TrackLocation m_location;
    QList<TrackLocation> m_namesakes;
    std::unique_ptr<AnimatedObject> m_kept;
    AnimatedObject* m_added = nullptr;
};

/// Deletes the keys that lie on one frame ("Delete keyframe"), of every channel or of the
/// channels given.
class DeleteKeyframeCommand : public TrackKeysCommand
{
public:
    DeleteKeyframeCommand(HistoryManager* history, AnimatedObject* tracks, int frame,
                          QList<int> channels = {0, 1, 2, 3, 4});

protected:
    void edit(AnimatedObject& tracks) override;

private:
    int m_frame;
};

/// Adds a key on a frame to each of the channels that has none there ("Create keyframe"), with
/// the value the channel has at that time and the curve's shape kept, so the pose stays as it is.
class CreateKeyframeCommand : public TrackKeysCommand
{
public:
    CreateKeyframeCommand(HistoryManager* history, AnimatedObject* tracks, QList<int> channels, int frame);

protected:
    void edit(AnimatedObject& tracks) override;

private:
    int m_frame;
};

/// Moves the keys on one frame to another ("Move keyframe"), values and handles unchanged, in
/// each channel that has a key there and none on the frame it goes to.
class MoveKeyframeCommand : public TrackKeysCommand
{
public:
    MoveKeyframeCommand(HistoryManager* history, AnimatedObject* tracks, QList<int> channels, int from, int to);

protected:
    void edit(AnimatedObject& tracks) override;

private:
    int m_from;
    int m_to;
};
