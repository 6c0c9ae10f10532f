#include "AddAnimationCommand.h"

#include "AnimationDocument.h"
#include "HistoryManager.h"

#include <utility>

AddAnimationCommand::AddAnimationCommand(HistoryManager* history, const QString& name)
    : HistoryCommand(QStringLiteral("New animation")), m_history(history), m_name(name),
      m_previous(history->currentAnimation())
{
}

AddAnimationCommand::AddAnimationCommand(HistoryManager* history, const QString& name, AnimationTracks tracks,
                                         const QString& text)
    : HistoryCommand(text), m_history(history), m_name(name), m_previous(history->currentAnimation()),
      m_tracks(std::move(tracks))
{
}

void AddAnimationCommand::apply()
{
    if (AnimationDocument* document = m_history->document()) {
        m_history->stopPlayback();
        m_identifier = document->addAnimation(m_name, std::exchange(m_tracks, AnimationTracks()));
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
    document->removeAnimation(m_identifier, &m_tracks);
}
