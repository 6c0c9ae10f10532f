#pragma once

#include "HistoryCommand.h"
#include "Skeleton.h"

#include <QList>

class HistoryManager;

/// Restacking images ("bring %1 to front", "bring %1 forward", "send %1 backward", "send %1 to
/// back"): later in the image list is higher. Undo puts every image back where it stood.
class ChangeAssetsZValueCommand : public HistoryCommand
{
public:
    ChangeAssetsZValueCommand(HistoryManager* history, const QList<Skeleton::Asset*>& assets,
                              Skeleton::ZValueChangeAction action);

protected:
    void apply() override;
    void revert() override;

private:
    HistoryManager* m_history;
    QList<quint64> m_assets;
    /// Both image lists in order before the change.
    QList<quint64> m_images;
    QList<quint64> m_dummies;
    Skeleton::ZValueChangeAction m_action;
};
