#include "AddRemoveAssetsCommand.h"

#include <QPixmap>

#include <algorithm>

namespace {

QString countedText(const QString& one, const QString& several, int count)
{
    return count == 1 ? one : several.arg(count);
}

} // namespace

AddRemoveAssetsCommand::AddRemoveAssetsCommand(const QString& text, HistoryManager* history)
    : HistoryCommand(text), m_history(history)
{
}

AddRemoveAssetsCommand::~AddRemoveAssetsCommand()
{
    const bool out = std::any_of(m_stored.begin(), m_stored.end(), [](const Stored& s) { return s.asset != nullptr; });
    announceDestruction(out);
    for (Stored& stored : m_stored) {
        if (stored.asset) {
            Skeleton::discardItems(*stored.asset);
        }
    }
}

void AddRemoveAssetsCommand::takeOut()
{
    Skeleton* skeleton = m_history->skeleton();
    if (!skeleton) {
        return;
    }
    m_history->stopPlayback();
    for (Stored& stored : m_stored) {
        if (Skeleton::Asset* asset = skeleton->assetById(stored.id); asset && !stored.asset) {
            stored.asset = skeleton->takeImage(asset, &stored.dummy, &stored.index);
        }
    }
    m_history->refreshSkeleton();
    Q_EMIT skeleton->nodesUpdated();
}

void AddRemoveAssetsCommand::putBack()
{
    Skeleton* skeleton = m_history->skeleton();
    if (!skeleton) {
        return;
    }
    m_history->stopPlayback();
    for (auto it = m_stored.rbegin(); it != m_stored.rend(); ++it) {
        if (it->asset) {
            skeleton->restoreImage(std::move(it->asset), it->dummy, it->index);
        }
    }
    m_history->refreshSkeleton();
    Q_EMIT skeleton->nodesUpdated();
}

AddAssetsCommand::AddAssetsCommand(HistoryManager* history, const QList<HistoryManager::NewImage>& images)
    : AddRemoveAssetsCommand(countedText(QStringLiteral("add asset"), QStringLiteral("add %1 assets"), images.size()),
                             history),
      m_images(images)
{
}

QList<Skeleton::Asset*> AddAssetsCommand::assets() const
{
    QList<Skeleton::Asset*> added;
    if (Skeleton* skeleton = m_history->skeleton()) {
        for (const Stored& stored : m_stored) {
            if (Skeleton::Asset* asset = skeleton->assetById(stored.id)) {
                added.append(asset);
            }
        }
    }
    return added;
}

void AddAssetsCommand::apply()
{
    Skeleton* skeleton = m_history->skeleton();
    if (!skeleton) {
        return;
    }
    if (!m_stored.empty()) {
        putBack();
        return;
    }
    m_history->stopPlayback();
    for (const HistoryManager::NewImage& image : qAsConst(m_images)) {
        Skeleton::Asset* asset =
            skeleton->addImage(image.nodeName, image.image, image.restTransform, false,
                               image.name.isEmpty() ? skeleton->uniqueAssetName() : image.name);
        asset->assetName = image.assetName;
        asset->tags = image.tags;
        Stored stored;
        stored.id = asset->id;
        stored.index = skeleton->imageIndex(asset, &stored.dummy);
        m_stored.push_back(std::move(stored));
    }
    // The pictures live in the images from now on.
    m_images.clear();
    m_history->refreshSkeleton();
    Q_EMIT skeleton->nodesUpdated();
}

RemoveAssetsCommand::RemoveAssetsCommand(HistoryManager* history, const QList<Skeleton::Asset*>& assets)
    : AddRemoveAssetsCommand(
          countedText(QStringLiteral("delete asset"), QStringLiteral("delete %1 assets"), assets.size()), history)
{
    for (const Skeleton::Asset* asset : assets) {
        Stored stored;
        stored.id = asset->id;
        m_stored.push_back(std::move(stored));
    }
}
