#include "RemoveAnimationCommand.h"

#include "HistoryManager.h"

RemoveAnimationCommand::RemoveAnimationCommand(HistoryManager* history, const QString& identifier)
    : HistoryCommand(QStringLiteral("Delete animation")), m_history(history), m_identifier(identifier)
{
}

RemoveAnimationCommand::~RemoveAnimationCommand()
{
    announceDestruction(m_taken);
}

void RemoveAnimationCommand::apply()
{
    AnimationDocument* document = m_history->document();
    if (!document) {
        return;
    }
    if (document->currentAnimation() == m_identifier) {
        m_history->stopPlayback();
    }
    m_removed = AnimationDocument::Removed();
    m_taken = document->takeAnimation(m_identifier, &m_removed);
}

void RemoveAnimationCommand::revert()
{
    AnimationDocument* document = m_history->document();
    if (!document || !m_taken) {
        return;
    }
    if (m_removed.wasCurrent) {
        m_history->stopPlayback();
    }
    document->restoreAnimation(m_removed);
    m_taken = false;
}
