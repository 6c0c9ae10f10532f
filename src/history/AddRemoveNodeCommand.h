#pragma once

#include "HistoryCommand.h"
#include "NodeRecord.h"
#include "Skeleton.h"

#include <memory>
#include <vector>

class HistoryManager;

/// Adding and removing nodes. While a node is out of the skeleton (a removal done, an addition
/// undone) its record and its very scene items live here, taken out of the scene, and go back
/// unchanged; they are discarded with the command.
class AddRemoveNodeCommand : public HistoryCommand
{
public:
    ~AddRemoveNodeCommand() override;

protected:
    AddRemoveNodeCommand(const QString& text, HistoryManager* history);

    struct Stored
    {
        quint64 id = 0;
        int index = 0;
        std::unique_ptr<Skeleton::Node> node;
    };

    /// Takes the stored nodes out of the skeleton, in order.
    void takeOut();
    /// Puts them back, in reverse order, where they stood.
    void putBack();

    HistoryManager* m_history;
    std::vector<Stored> m_stored;
};

/// "add node": a new child node of a node.
class AddNodeCommand : public AddRemoveNodeCommand
{
public:
    AddNodeCommand(HistoryManager* history, const NodeRecord& record);
    /// The node once added (null before the first run).
    Skeleton::Node* node() const;

protected:
    void apply() override;
    void revert() override { takeOut(); }

private:
    NodeRecord m_record;
};

/// "delete asset" (the same text as for removing an image): removes exactly
/// the nodes given, in the order given (children before their parents).
class RemoveNodeCommand : public AddRemoveNodeCommand
{
public:
    RemoveNodeCommand(HistoryManager* history, const QList<Skeleton::Node*>& nodes);

protected:
    void apply() override { takeOut(); }
    void revert() override { putBack(); }
};
