#include "SetKeyframeCommand.h"

#include "HistoryManager.h"

SetKeyframeCommand::SetKeyframeCommand(HistoryManager* history, AnimatedObject* object,
                                       AnimatedObject::AnimatedProperty property, float time, float oldValue,
                                       float newValue, bool isNewPoint)
    : QUndoCommand(QStringLiteral("Set key")), m_history(history), m_object(object), m_property(property),
      m_time(time), m_oldValue(oldValue), m_newValue(newValue), m_isNewPoint(isNewPoint)
{
}

void SetKeyframeCommand::redo()
{
    m_object->channel(m_property).insertKey(m_newValue, m_time, true);
    m_history->refreshSkeleton();
}

void SetKeyframeCommand::undo()
{
    if (m_isNewPoint) {
        m_object->channel(m_property).removeKeyNear(m_time);
    } else {
        m_object->channel(m_property).insertKey(m_oldValue, m_time, true);
    }
    m_history->refreshSkeleton();
}
