#pragma once

#include "HistoryCommand.h"

#include <QImage>

class HistoryManager;

/// "change asset image": an image's picture before and after.
class UpdateAssetPixmapCommand : public HistoryCommand
{
public:
    UpdateAssetPixmapCommand(HistoryManager* history, quint64 asset, const QImage& before, const QImage& after);

protected:
    void apply() override { show(m_after); }
    void revert() override { show(m_before); }

private:
    void show(const QImage& image);

    HistoryManager* m_history;
    quint64 m_asset;
    QImage m_before;
    QImage m_after;
};
