#include "HistoryCommand.h"

#include <QDebug>

HistoryCommand::HistoryCommand(const QString& text, bool appliedByGesture, QUndoCommand* parent)
    : QUndoCommand(text, parent), m_appliedByGesture(appliedByGesture)
{
}

HistoryCommand::~HistoryCommand()
{
    if (!m_announced) {
        qDebug("Destroy undo command");
    }
}

void HistoryCommand::announceDestruction(bool unusedRecords)
{
    m_announced = true;
    qDebug("Destroy undo command");
    if (unusedRecords) {
        qDebug("Removing unused stored data");
    }
}

void HistoryCommand::redo()
{
    if (m_state == Done) {
        return;
    }
    const bool first = m_state == New;
    m_state = Done;
    if (!(first && m_appliedByGesture)) {
        apply();
    }
}

void HistoryCommand::undo()
{
    if (m_state == Undone) {
        return;
    }
    m_state = Undone;
    revert();
}
