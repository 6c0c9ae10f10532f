#pragma once

#include "HistoryCommand.h"

#include <QObject>

/// "Index Change": a choice among numbered entries, announced by indexChanged(int).
class IndexChangeCommand : public QObject, public HistoryCommand
{
    Q_OBJECT

public:
    IndexChangeCommand(int from, int to);

Q_SIGNALS:
    void indexChanged(int index);

protected:
    void apply() override { Q_EMIT indexChanged(m_to); }
    void revert() override { Q_EMIT indexChanged(m_from); }

private:
    int m_from;
    int m_to;
};
