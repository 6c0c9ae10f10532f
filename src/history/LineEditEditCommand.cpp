#include "LineEditEditCommand.h"

#include "TSLineEditUpdateable.h"

LineEditEditCommand::LineEditEditCommand(HistoryManager* history, QGraphicsItem* item, TSLineEditUpdateable* edit,
                                         const QString& before, const QString& after)
    : ObjectStateCommand(QStringLiteral("Attribute Edit"), history, item), m_edit(edit), m_before(before),
      m_after(after)
{
}

void LineEditEditCommand::edit(QGraphicsItem*)
{
    if (m_edit) {
        m_edit->editText(m_after);
    }
}

void LineEditEditCommand::restored(QGraphicsItem*, bool after)
{
    if (!m_edit) {
        return;
    }
    m_edit->showText(after ? m_after : m_before);
    m_edit->setFocus(Qt::OtherFocusReason);
}
