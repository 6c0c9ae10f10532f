#pragma once

#include "ObjectStateCommand.h"

#include <QObject>
#include <QPointer>

class TSLineEditUpdateable;

/// "Attribute Edit": a value typed into a field of the object settings column for one node or
/// image. The first run selects the item and hands the new text to the field, which applies it
/// as if typed. Undo and redo select the item again (found by id), put back its state before or
/// after exactly, and show the old or new text in the field; after the first run the field also
/// takes the focus, so the user sees what changed.
class LineEditEditCommand : public QObject, public ObjectStateCommand
{
    Q_OBJECT

public:
    LineEditEditCommand(HistoryManager* history, QGraphicsItem* item, TSLineEditUpdateable* edit,
                        const QString& before, const QString& after);

protected:
    void edit(QGraphicsItem* item) override;
    void restored(QGraphicsItem* item, bool after) override;

private:
    QPointer<TSLineEditUpdateable> m_edit;
    QString m_before;
    QString m_after;
};
