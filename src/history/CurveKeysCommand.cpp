#include "CurveKeysCommand.h"

CurveKeysCommand::CurveKeysCommand(const QString& text, const QVector<bez3>& before,
                                   const QVector<bez3>& after)
    : HistoryCommand(text), m_before(before), m_after(after)
{
}
