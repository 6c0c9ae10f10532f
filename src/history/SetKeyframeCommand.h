#pragma once

#include "AnimatedObject.h"

#include <QUndoCommand>

#include <vector>

class HistoryManager;

/// Sets one key of one channel. The first redo writes the value (a key within a frame of the
/// time is moved there rather than doubled) and keeps the channel's keys as they were before and
/// after; undo and redo put those back exactly, handles included.
class SetKeyframeCommand : public QUndoCommand
{
public:
    SetKeyframeCommand(HistoryManager* history, AnimatedObject* object, AnimatedObject::AnimatedProperty property,
                       float time, float newValue);

    void redo() override;
    void undo() override;

private:
    void restore(const std::vector<bez3>& keys);

    HistoryManager* m_history;
    AnimatedObject* m_object;
    AnimatedObject::AnimatedProperty m_property;
    float m_time;
    float m_newValue;
    bool m_written = false;
    std::vector<bez3> m_before;
    std::vector<bez3> m_after;
};
