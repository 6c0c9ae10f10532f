#include "KeyframeEditCommand.h"

KeyframeEditCommand::KeyframeEditCommand(int index, const bez3& before, const bez3& after)
    : HistoryCommand(QStringLiteral("Edit keyframe")), m_index(index), m_before(before), m_after(after)
{
}
