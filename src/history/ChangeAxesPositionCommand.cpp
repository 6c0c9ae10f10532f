#include "ChangeAxesPositionCommand.h"

#include "HistoryManager.h"
#include "SceneAxes.h"

ChangeAxesPositionCommand::ChangeAxesPositionCommand(HistoryManager* history, const QPointF& from, const QPointF& to)
    : HistoryCommand(QStringLiteral("Move axes"), true), m_history(history),
      m_animation(history->currentAnimation()), m_from(from), m_to(to)
{
}

void ChangeAxesPositionCommand::set(const QPointF& crossing)
{
    if (SceneAxes* axes = m_history->axes(); axes && m_history->enterAnimation(m_animation)) {
        axes->setCrossing(crossing);
    }
}
