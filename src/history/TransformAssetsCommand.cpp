#include "TransformAssetsCommand.h"

#include "HistoryManager.h"
#include "ObjectManipulator.h"
#include "PixmapPlaceholderItem.h"

namespace {

QString transformText(const QString& action, int count)
{
    return count == 1 ? action + QStringLiteral(" asset") : QStringLiteral("%1 %2 assets").arg(action).arg(count);
}

} // namespace

TransformAssetsCommand::TransformAssetsCommand(HistoryManager* history, const QString& action,
                                               const QList<Target>& targets)
    : HistoryCommand(transformText(action, targets.size()), true), m_history(history), m_targets(targets)
{
}

void TransformAssetsCommand::set(bool after)
{
    Skeleton* skeleton = m_history->skeleton();
    if (!skeleton) {
        return;
    }
    m_history->stopPlayback();
    ObjectManipulator* manipulator = m_history->manipulator();
    if (manipulator) {
        manipulator->setTargets({});
    }
    QList<QGraphicsItem*> items;
    for (const Target& target : qAsConst(m_targets)) {
        const QTransform& rest = after ? target.after : target.before;
        if (target.isNode) {
            if (Skeleton::Node* node = skeleton->nodeById(target.id)) {
                skeleton->setRestTransform(node, rest);
                items.append(node->joint);
            }
        } else if (Skeleton::Asset* asset = skeleton->assetById(target.id)) {
            skeleton->setRestTransform(asset, rest);
            items.append(asset->placeholder);
        }
    }
    if (manipulator) {
        manipulator->setTargets(items);
    }
    m_history->refreshSkeleton();
}
