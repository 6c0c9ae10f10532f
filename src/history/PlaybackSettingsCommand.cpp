#include "PlaybackSettingsCommand.h"

#include "HistoryManager.h"

PlaybackSpeedCommand::PlaybackSpeedCommand(HistoryManager* history, float from, float to)
    : HistoryCommand(QStringLiteral("Change speed")), m_history(history), m_from(from), m_to(to)
{
}

void PlaybackSpeedCommand::apply()
{
    set(m_to);
}

void PlaybackSpeedCommand::revert()
{
    set(m_from);
}

void PlaybackSpeedCommand::set(float speed)
{
    if (Skeleton* skeleton = m_history->skeleton()) {
        skeleton->setTimeScale(speed);
    }
    Q_EMIT m_history->playbackSpeedChanged(speed);
}

PlaybackLoopCommand::PlaybackLoopCommand(HistoryManager* history, bool loop)
    : HistoryCommand(loop ? QStringLiteral("Loop playback") : QStringLiteral("Play once")),
      m_history(history), m_loop(loop)
{
}

void PlaybackLoopCommand::set(bool loop)
{
    if (Skeleton* skeleton = m_history->skeleton()) {
        skeleton->setLooping(loop);
    }
    Q_EMIT m_history->loopingChanged(loop);
}
