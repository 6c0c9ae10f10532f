#include "AddAnimationCommand.h"

#include "AnimationDocument.h"
#include "HistoryManager.h"

AddAnimationCommand::AddAnimationCommand(HistoryManager* history, const QString& name)
    : HistoryCommand(QStringLiteral("New animation")), m_history(history), m_name(name),
      m_previous(history->currentAnimation())
{
}

void AddAnimationCommand::apply()
{
    if (AnimationDocument* document = m_history->document()) {
        m_history->stopPlayback();
        const QStringList before = document->animationIdentifiers();
        m_identifier = document->addAnimation(m_name);
        // An animation of that name that was there already is only shown, and stays on undo.
        m_created = !before.contains(m_identifier);
    }
}

void AddAnimationCommand::revert()
{
    AnimationDocument* document = m_history->document();
    if (!document || m_identifier.isEmpty()) {
        return;
    }
    m_history->stopPlayback();
    if (!m_previous.isEmpty()) {
        document->selectAnimation(m_previous);
    }
    if (m_created) {
        document->removeAnimation(m_identifier);
    }
}
