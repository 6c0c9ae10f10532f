#include "ChangeAssetsZValueCommand.h"

#include "HistoryManager.h"

#include <algorithm>
#include <limits>

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
    m_positions.clear();
    for (quint64 id : qAsConst(m_assets)) {
        Skeleton::Asset* asset = skeleton->assetById(id);
        m_positions.append(asset ? skeleton->imageIndex(asset) : -1);
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
    // All of them out of the way at the end of their list first, then back in lowest old
    // position first, so each one lands where it was whatever the others' places now.
    for (quint64 id : qAsConst(m_assets)) {
        if (Skeleton::Asset* asset = skeleton->assetById(id)) {
            skeleton->moveImage(asset, std::numeric_limits<int>::max());
        }
    }
    QList<int> order;
    for (int i = 0; i < m_assets.size(); ++i) {
        order.append(i);
    }
    std::sort(order.begin(), order.end(), [this](int a, int b) { return m_positions.at(a) < m_positions.at(b); });
    for (int i : qAsConst(order)) {
        Skeleton::Asset* asset = skeleton->assetById(m_assets.at(i));
        if (asset && m_positions.at(i) >= 0) {
            skeleton->moveImage(asset, m_positions.at(i));
        }
    }
    m_history->refreshSkeleton();
}
