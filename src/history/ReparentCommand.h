#pragma once

#include "HistoryCommand.h"

#include <QTransform>

class HistoryManager;

/// Moving a node under another node ("reparent node") or binding an image to another node
/// ("reparent asset"). The moved node or image stays where it is drawn: its set-up pose is
/// computed again against the new parent, and undo puts the old one back exactly.
class ReparentCommand : public HistoryCommand
{
protected:
    ReparentCommand(const QString& text, HistoryManager* history, quint64 target, quint64 from, quint64 to);

    void apply() override { move(m_to, m_after, true); }
    void revert() override { move(m_from, m_before, false); }
    /// Makes the target a child of the node with id parent (0: the top level); false when gone.
    virtual bool setParent(quint64 parent) = 0;
    virtual QTransform rest() const = 0;
    virtual void setRest(const QTransform& rest) = 0;

    HistoryManager* m_history;
    quint64 m_target;

private:
    void move(quint64 parent, QTransform& rest, bool forward);

    quint64 m_from;
    quint64 m_to;
    bool m_moved = false;
    QTransform m_before;
    QTransform m_after;
};

class ReparentNodeCommand : public ReparentCommand
{
public:
    ReparentNodeCommand(HistoryManager* history, quint64 node, quint64 from, quint64 to);

protected:
    bool setParent(quint64 parent) override;
    QTransform rest() const override;
    void setRest(const QTransform& rest) override;
};

class ReparentAssetCommand : public ReparentCommand
{
public:
    ReparentAssetCommand(HistoryManager* history, quint64 asset, quint64 from, quint64 to);

protected:
    bool setParent(quint64 parent) override;
    QTransform rest() const override;
    void setRest(const QTransform& rest) override;
};
