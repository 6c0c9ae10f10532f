#pragma once

#include "HistoryCommand.h"
#include "bez3.h"

#include <QObject>
#include <QVector>

/// Keys added to or taken from one curve in one step ("Add keyframe", "Delete keyframes"). The
/// command keeps every key of the curve before and after, so undo puts back exactly what was
/// there, handles included; whoever shows the curve applies what the signal carries.
class CurveKeysCommand : public QObject, public HistoryCommand
{
    Q_OBJECT

public:
    CurveKeysCommand(const QString& text, const QVector<bez3>& before, const QVector<bez3>& after);

Q_SIGNALS:
    void keysChanged(const QVector<bez3>& keys);

protected:
    void apply() override { Q_EMIT keysChanged(m_after); }
    void revert() override { Q_EMIT keysChanged(m_before); }

private:
    QVector<bez3> m_before;
    QVector<bez3> m_after;
};
