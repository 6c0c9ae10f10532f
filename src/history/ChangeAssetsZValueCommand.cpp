#include "ChangeAssetsZValueCommand.h"

#include "HistoryManager.h"

#include <algorithm>

namespace {

QString zText(Skeleton::ZValueChangeAction action, int count)
{
    static const char* const texts[] = {"bring %1 to front", "bring %1 forward", "send %1 backward",
                                        "send %1 to back"};
    const QString what = count == 1 ? QStringLiteral("asset") : QStringLiteral("%1 assets").arg(count);
    return QString::fromLatin1(texts[static_cast<int>(action)]).arg(what);
}

} // namespace

ChangeAssetsZValueCommand::ChangeAssetsZValueCommand(HistoryManager* history, const QList<Skeleton::Asset*>& assets,
                                                     Skeleton::ZValueChangeAction action)
    : HistoryCommand(zText(action, assets.size())), m_history(history), m_action(action)
{
    for (const Skeleton::Asset* asset : assets) {
        m_assets.append(asset->id);
    }
}

void ChangeAssetsZValueCommand::apply()
{
    Skeleton* skeleton = m_history->skeleton();
    if (!skeleton) {
        return;
    }
    m_images.clear();
    m_dummies.clear();
    for (const auto& asset : skeleton->images()) {
        m_images.append(asset->id);
    }
    for (const auto& asset : skeleton->dummyImages()) {
        m_dummies.append(asset->id);
    }
    // The images keep their order among themselves: one step moves the one nearest the
    // direction first, a jump to an end the one farthest from it.
    QList<quint64> order = m_assets;
    const bool highestFirst = m_action == Skeleton::BringForward || m_action == Skeleton::SendToBack;
    std::sort(order.begin(), order.end(), [&](quint64 a, quint64 b) {
        const int ia = skeleton->imageIndex(skeleton->assetById(a));
        const int ib = skeleton->imageIndex(skeleton->assetById(b));
        return highestFirst ? ia > ib : ia < ib;
    });
    for (quint64 id : qAsConst(order)) {
        if (Skeleton::Asset* asset = skeleton->assetById(id)) {
            skeleton->changeZValue(asset, m_action);
        }
    }
    m_history->refreshSkeleton();
}

void ChangeAssetsZValueCommand::revert()
{
    Skeleton* skeleton = m_history->skeleton();
    if (!skeleton) {
        return;
    }
    // Placed one by one from the bottom, every image ends where it stood.
    for (const QList<quint64>* list : {&m_images, &m_dummies}) {
        int index = 0;
        for (quint64 id : *list) {
            if (Skeleton::Asset* asset = skeleton->assetById(id)) {
                skeleton->moveImage(asset, index++);
            }
        }
    }
    m_history->refreshSkeleton();
}
