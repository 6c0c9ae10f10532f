#pragma once

#include "AnimationDocument.h"
#include "HistoryCommand.h"

class HistoryManager;

/// "Delete animation": takes an animation out of the document (a template animation's name goes
/// on the ignore list) and keeps its tracks until undo puts it back where it was.
class RemoveAnimationCommand : public HistoryCommand
{
public:
    RemoveAnimationCommand(HistoryManager* history, const QString& identifier);
    ~RemoveAnimationCommand() override;

protected:
    void apply() override;
    void revert() override;

private:
    HistoryManager* m_history;
    QString m_identifier;
    AnimationDocument::Removed m_removed;
    bool m_taken = false;
};
