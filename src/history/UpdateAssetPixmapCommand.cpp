#include "UpdateAssetPixmapCommand.h"

#include "HistoryManager.h"

UpdateAssetPixmapCommand::UpdateAssetPixmapCommand(HistoryManager* history, quint64 asset, const QImage& before,
                                                   const QImage& after)
    : HistoryCommand(QStringLiteral("change asset image")), m_history(history), m_asset(asset), m_before(before),
      m_after(after)
{
}

void UpdateAssetPixmapCommand::show(const QImage& image)
{
    if (Skeleton* skeleton = m_history->skeleton()) {
        if (Skeleton::Asset* asset = skeleton->assetById(m_asset)) {
            skeleton->setImagePicture(asset, image);
            m_history->refreshSkeleton();
        }
    }
}
