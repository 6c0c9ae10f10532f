#pragma once

#include "HistoryCommand.h"

#include <QString>

class HistoryManager;

/// "Rename animation": an animation takes a new name and the identifier that goes with it; its
/// tracks stay, and so does playback when it is the current one. A template animation renamed
/// becomes the document's own, and its old name goes on the ignore list meanwhile. Undone and
/// redone, it shows the animation that was shown when it was made.
class RenameAnimationCommand : public HistoryCommand
{
public:
    RenameAnimationCommand(HistoryManager* history, const QString& identifier, const QString& oldName,
                           const QString& newName);
    QString newIdentifier() const { return m_newIdentifier; }

protected:
    void apply() override;
    void revert() override;

private:
    HistoryManager* m_history;
    QString m_oldIdentifier;
    QString m_newIdentifier;
    QString m_oldName;
    QString m_newName;
    /// The animation shown when the rename was made.
    QString m_shown;
    bool m_ignoresOldName = false;
};
