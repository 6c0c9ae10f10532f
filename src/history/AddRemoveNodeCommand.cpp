#include "AddRemoveNodeCommand.h"

#include "HistoryManager.h"

AddRemoveNodeCommand::AddRemoveNodeCommand(const QString& text, HistoryManager* history)
    : HistoryCommand(text), m_history(history)
{
}

AddRemoveNodeCommand::~AddRemoveNodeCommand()
{
    const bool out = std::any_of(m_stored.begin(), m_stored.end(), [](const Stored& s) { return s.node != nullptr; });
    announceDestruction(out);
    for (Stored& stored : m_stored) {
        if (stored.node) {
            Skeleton::discardItems(*stored.node);
        }
    }
}

void AddRemoveNodeCommand::takeOut()
{
    Skeleton* skeleton = m_history->skeleton();
    if (!skeleton) {
        return;
    }
    m_history->stopPlayback();
    for (Stored& stored : m_stored) {
        if (Skeleton::Node* node = skeleton->nodeById(stored.id); node && !stored.node) {
            stored.node = skeleton->takeNode(node, &stored.index);
        }
    }
    m_history->refreshSkeleton();
    Q_EMIT skeleton->nodesUpdated();
}

void AddRemoveNodeCommand::putBack()
{
    Skeleton* skeleton = m_history->skeleton();
    if (!skeleton) {
        return;
    }
    m_history->stopPlayback();
    for (auto it = m_stored.rbegin(); it != m_stored.rend(); ++it) {
        if (it->node) {
            skeleton->restoreNode(std::move(it->node), it->index);
        }
    }
    m_history->refreshSkeleton();
    Q_EMIT skeleton->nodesUpdated();
}

AddNodeCommand::AddNodeCommand(HistoryManager* history, const NodeRecord& record)
    : AddRemoveNodeCommand(QStringLiteral("add node"), history), m_record(record)
{
    m_stored.emplace_back();
}

Skeleton::Node* AddNodeCommand::node() const
{
    Skeleton* skeleton = m_history->skeleton();
    return skeleton && m_stored.front().id ? skeleton->nodeById(m_stored.front().id) : nullptr;
}

void AddNodeCommand::apply()
{
    Skeleton* skeleton = m_history->skeleton();
    if (!skeleton) {
        return;
    }
    Stored& stored = m_stored.front();
    if (stored.id == 0) {
        m_history->stopPlayback();
        stored.id = skeleton->addNode(m_record)->id;
        m_history->refreshSkeleton();
        return;
    }
    putBack();
}

RemoveNodeCommand::RemoveNodeCommand(HistoryManager* history, const QList<Skeleton::Node*>& nodes)
    : AddRemoveNodeCommand(QStringLiteral("delete asset"), history)
{
    for (const Skeleton::Node* node : nodes) {
        Stored stored;
        stored.id = node->id;
        m_stored.push_back(std::move(stored));
    }
}
