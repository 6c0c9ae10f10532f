#pragma once

#include "HistoryCommand.h"

#include <QPointF>
#include <QString>

class HistoryManager;

/// "Move axes": the crossing of the guide lines, kept with the animation it was moved in.
class ChangeAxesPositionCommand : public HistoryCommand
{
public:
    ChangeAxesPositionCommand(HistoryManager* history, const QPointF& from, const QPointF& to);

protected:
    void apply() override { set(m_to); }
    void revert() override { set(m_from); }

private:
    void set(const QPointF& crossing);

    HistoryManager* m_history;
    QString m_animation;
    QPointF m_from;
    QPointF m_to;
};
