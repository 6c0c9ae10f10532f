#pragma once

#include "HistoryCommand.h"

#include <QObject>
#include <QPointer>

class HistoryManager;
class QGraphicsItem;
class TSLineEditUpdateable;

/// "Attribute Edit": a typed value of the object settings column. Undo and redo select the item
/// again (found by id) and put the old or new text into the field, which applies it as if
/// typed; after the first run the field also takes the focus, so the user sees what changed.
class LineEditEditCommand : public QObject, public HistoryCommand
{
    Q_OBJECT

public:
    LineEditEditCommand(HistoryManager* history, QGraphicsItem* item, TSLineEditUpdateable* edit,
                        const QString& before, const QString& after);

protected:
    void apply() override { put(m_after); }
    void revert() override { put(m_before); }

private:
    void put(const QString& text);

    HistoryManager* m_history;
    bool m_isNode = false;
    quint64 m_id = 0;
    QPointer<TSLineEditUpdateable> m_edit;
    QString m_before;
    QString m_after;
    bool m_skipFocus = true;
};
