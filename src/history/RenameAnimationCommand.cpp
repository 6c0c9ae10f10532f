#include "RenameAnimationCommand.h"

#include "AnimationDocument.h"
#include "HistoryManager.h"

RenameAnimationCommand::RenameAnimationCommand(HistoryManager* history, const QString& identifier,
                                               const QString& oldName, const QString& newName)
    : HistoryCommand(QStringLiteral("Rename animation")), m_history(history), m_oldIdentifier(identifier),
      m_oldName(oldName), m_newName(newName), m_shown(history->currentAnimation())
{
    if (AnimationDocument* document = history->document()) {
        m_newIdentifier = document->identifierFor(newName);
        m_ignoresOldName = document->isTemplateAnimation(identifier) && !document->isIgnored(oldName);
    }
}

void RenameAnimationCommand::apply()
{
    AnimationDocument* document = m_history->document();
    if (document && document->renameAnimation(m_oldIdentifier, m_newIdentifier, m_newName) &&
        m_ignoresOldName) {
        document->setIgnored(m_oldName, true);
    }
    // Undone and redone, the step shows the animation it was made in, as every other step does.
    m_history->enterAnimation(m_shown == m_oldIdentifier ? m_newIdentifier : m_shown);
}

void RenameAnimationCommand::revert()
{
    AnimationDocument* document = m_history->document();
    if (document && document->renameAnimation(m_newIdentifier, m_oldIdentifier, m_oldName) &&
        m_ignoresOldName) {
        document->setIgnored(m_oldName, false);
    }
    m_history->enterAnimation(m_shown);
}
