#pragma once

#include "HistoryCommand.h"

#include <QList>
#include <QTransform>

class HistoryManager;
class QGraphicsItem;

/// A finished set-up drag of joints and images ("move asset", "%1 %2 assets"): their set-up
/// poses before and after. The drag already shows the result, so pushing it changes nothing.
class TransformAssetsCommand : public HistoryCommand
{
public:
    struct Target
    {
        bool isNode = false;
        quint64 id = 0;
        QTransform before;
        QTransform after;
    };

    TransformAssetsCommand(HistoryManager* history, const QString& action, const QList<Target>& targets);

protected:
    void apply() override { set(true); }
    void revert() override { set(false); }

private:
    void set(bool after);

    HistoryManager* m_history;
    QList<Target> m_targets;
};
