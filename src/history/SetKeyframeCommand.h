#pragma once

#include "AnimatedObject.h"

#include <QUndoCommand>

class HistoryManager;

/// Sets one key of one channel: redo writes the new value (with automatic handles), undo removes
/// a key that was new or writes the old value back.
class SetKeyframeCommand : public QUndoCommand
{
public:
    SetKeyframeCommand(HistoryManager* history, AnimatedObject* object, AnimatedObject::AnimatedProperty property,
                       float time, float oldValue, float newValue, bool isNewPoint);

    void redo() override;
    void undo() override;

private:
    HistoryManager* m_history;
    AnimatedObject* m_object;
    AnimatedObject::AnimatedProperty m_property;
    float m_time;
    float m_oldValue;
    float m_newValue;
    bool m_isNewPoint;
};
