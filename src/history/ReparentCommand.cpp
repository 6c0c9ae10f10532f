#include "ReparentCommand.h"

#include "HistoryManager.h"
#include "ObjectManipulator.h"

ReparentCommand::ReparentCommand(const QString& text, HistoryManager* history, quint64 target, quint64 from,
                                 quint64 to)
    : HistoryCommand(text), m_history(history), m_target(target), m_from(from), m_to(to)
{
}

void ReparentCommand::move(quint64 parent, QTransform& restOfSide, bool forward)
{
    if (!m_history->skeleton()) {
        return;
    }
    m_history->stopPlayback();
    if (ObjectManipulator* manipulator = m_history->manipulator()) {
        manipulator->setTargets({});
    }
    if (forward && !m_moved) {
        m_before = rest();
        if (!setParent(parent)) {
            return;
        }
        m_after = rest();
        m_moved = true;
    } else if (m_moved && setParent(parent)) {
        setRest(restOfSide);
    }
    m_history->refreshSkeleton();
    Q_EMIT m_history->skeleton()->nodesUpdated();
}

namespace {

QString parentName(Skeleton* skeleton, quint64 parent)
{
    const Skeleton::Node* node = parent ? skeleton->nodeById(parent) : nullptr;
    return node ? node->name : QString();
}

} // namespace

ReparentNodeCommand::ReparentNodeCommand(HistoryManager* history, quint64 node, quint64 from, quint64 to)
    : ReparentCommand(QStringLiteral("reparent node"), history, node, from, to)
{
}

bool ReparentNodeCommand::setParent(quint64 parent)
{
    Skeleton* skeleton = m_history->skeleton();
    Skeleton::Node* node = skeleton->nodeById(m_target);
    if (!node || (parent && !skeleton->nodeById(parent))) {
        return false;
    }
    return skeleton->reparentNode(node, parentName(skeleton, parent));
}

QTransform ReparentNodeCommand::rest() const
{
    const Skeleton::Node* node = m_history->skeleton()->nodeById(m_target);
    return node ? node->restTransform : QTransform();
}

void ReparentNodeCommand::setRest(const QTransform& rest)
{
    m_history->skeleton()->setRestTransform(m_history->skeleton()->nodeById(m_target), rest);
}

ReparentAssetCommand::ReparentAssetCommand(HistoryManager* history, quint64 asset, quint64 from, quint64 to)
    : ReparentCommand(QStringLiteral("reparent asset"), history, asset, from, to)
{
}

bool ReparentAssetCommand::setParent(quint64 parent)
{
    Skeleton* skeleton = m_history->skeleton();
    Skeleton::Asset* asset = skeleton->assetById(m_target);
    return asset && parent && skeleton->rebindImage(asset, parentName(skeleton, parent));
}

QTransform ReparentAssetCommand::rest() const
{
    const Skeleton::Asset* asset = m_history->skeleton()->assetById(m_target);
    return asset ? asset->restTransform : QTransform();
}

void ReparentAssetCommand::setRest(const QTransform& rest)
{
    m_history->skeleton()->setRestTransform(m_history->skeleton()->assetById(m_target), rest);
}
