#pragma once

#include "HistoryCommand.h"

#include <QString>

class HistoryManager;

/// "New animation": an empty animation made current; undo removes it and makes the animation
/// that was current before current again.
class AddAnimationCommand : public HistoryCommand
{
public:
    AddAnimationCommand(HistoryManager* history, const QString& name);
    QString identifier() const { return m_identifier; }

protected:
    void apply() override;
    void revert() override;

private:
    HistoryManager* m_history;
    QString m_name;
    QString m_previous;
    QString m_identifier;
    bool m_created = false;
};
