#pragma once

#include "HistoryCommand.h"
#include "bez3.h"

#include <QObject>

/// "Edit keyframe": one key of the curve being edited, before and after. The curve editor
/// applies what the signal carries.
class KeyframeEditCommand : public QObject, public HistoryCommand
{
    Q_OBJECT

public:
    KeyframeEditCommand(int index, const bez3& before, const bez3& after);

Q_SIGNALS:
    void keyframeChanged(int index, bez3 value);

protected:
    void apply() override { Q_EMIT keyframeChanged(m_index, m_after); }
    void revert() override { Q_EMIT keyframeChanged(m_index, m_before); }

private:
    int m_index;
    bez3 m_before;
    bez3 m_after;
};
