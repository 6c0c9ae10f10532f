#pragma once

#include "AnimatedObject.h"
#include "HistoryCommand.h"

#include <QList>

#include <vector>

class HistoryManager;

/// Key edits of one node's or image's tracks in one animation. The command keeps the keys of
/// the channels it changes as they were before and after its first run and puts them back
/// exactly, handles included. Made in one animation, it makes that animation current again
/// before it acts, and finds the tracks there by name.
class TrackKeysCommand : public HistoryCommand
{
public:
    TrackKeysCommand(const QString& text, HistoryManager* history, AnimatedObject* tracks, QList<int> channels);

protected:
    void apply() override;
    void revert() override;
    /// The first run's edit of the tracks (the keys before it are already kept).
    virtual void edit(AnimatedObject& tracks) = 0;

private:
    using Keys = std::vector<std::vector<bez3>>;

    AnimatedObject* resolve();
    Keys keysOf(const AnimatedObject& tracks) const;
    void restore(const Keys& keys);

    HistoryManager* m_history;
    AnimatedObject* m_direct;
    QString m_animation;
    QString m_name;
    int m_occurrence = 0;
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

/// Deletes the keys of every channel that lie on one frame ("Delete keyframe").
class DeleteKeyframeCommand : public TrackKeysCommand
{
public:
    DeleteKeyframeCommand(HistoryManager* history, AnimatedObject* tracks, int frame);

protected:
    void edit(AnimatedObject& tracks) override;

private:
    int m_frame;
};
