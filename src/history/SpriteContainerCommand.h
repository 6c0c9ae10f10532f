#pragma once

#include "HistoryCommand.h"
#include "SpriteContainerState.h"

class HistoryManager;

/// An edit of a sprite container made in the sprite editor (a colour value, a key, its name,
/// length or speed): the container's state before and after. The editor has made the edit when
/// the command is pushed; undo and redo put either state back on the container, found again by
/// id (nothing happens while it is out of the document).
class SpriteContainerCommand : public HistoryCommand
{
public:
    SpriteContainerCommand(const QString& text, HistoryManager* history, const SpriteContainerState& before,
                           const SpriteContainerState& after);

protected:
    void apply() override { restore(m_after); }
    void revert() override { restore(m_before); }

private:
    void restore(const SpriteContainerState& state);

    HistoryManager* m_history;
    SpriteContainerState m_before;
    SpriteContainerState m_after;
};
