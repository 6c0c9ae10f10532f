#include "SetKeyframeCommand.h"

#include "HistoryManager.h"

namespace {

std::vector<bez3> keysOf(const TSAnimationCurve& curve)
{
    return std::vector<bez3>(curve.keys(), curve.keys() + curve.keyCount());
}

} // namespace

SetKeyframeCommand::SetKeyframeCommand(HistoryManager* history, AnimatedObject* object,
                                       AnimatedObject::AnimatedProperty property, float time, float newValue)
    : QUndoCommand(QStringLiteral("Set key")), m_history(history), m_object(object), m_property(property),
      m_time(time), m_newValue(newValue)
{
}

void SetKeyframeCommand::redo()
{
    TSAnimationCurve& curve = m_object->channel(m_property);
    if (m_written) {
        restore(m_after);
        return;
    }
    m_before = keysOf(curve);
    curve.writeKey(m_newValue, m_time);
    m_after = keysOf(curve);
    m_written = true;
    m_history->refreshSkeleton();
}

void SetKeyframeCommand::undo()
{
    restore(m_before);
}

void SetKeyframeCommand::restore(const std::vector<bez3>& keys)
{
    m_object->channel(m_property).setKeys(keys.data(), static_cast<int>(keys.size()));
    m_history->refreshSkeleton();
}
