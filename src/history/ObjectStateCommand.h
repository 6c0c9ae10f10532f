#pragma once

#include "HistoryCommand.h"
#include "ObjectState.h"

class HistoryManager;
class QGraphicsItem;

/// An edit of one node or image by value. The first run selects the item and makes the edit;
/// the state of the node or image before and after it is kept, and undo and redo put that state
/// back exactly (keys that the edit added go again, rather than being overwritten). An edit that
/// changes nothing leaves no step in the history.
class ObjectStateCommand : public HistoryCommand
{
public:
    ObjectStateCommand(const QString& text, HistoryManager* history, QGraphicsItem* item);

protected:
    void apply() final;
    void revert() final;
    /// The edit itself, made once on the item.
    virtual void edit(QGraphicsItem* item) = 0;
    /// Called after the state before (after = false) or after the edit was put back.
    virtual void restored(QGraphicsItem* item, bool after);

    HistoryManager* history() const { return m_history; }

private:
    void restore(const ObjectState& state, bool after);

    HistoryManager* m_history;
    QString m_animation;
    ObjectState m_before;
    ObjectState m_after;
    bool m_edited = false;
};

/// "Bone color": a node's bone colour.
class BoneColorCommand : public ObjectStateCommand
{
public:
    BoneColorCommand(HistoryManager* history, QGraphicsItem* item, const QColor& color);

protected:
    void edit(QGraphicsItem* item) override;

private:
    QColor m_color;
};
