#pragma once

#include "AnimationTracks.h"
#include "HistoryCommand.h"

#include <QString>

class HistoryManager;

/// "New animation": an empty animation made current; undo removes it and makes the animation
/// that was current before current again, and redo brings it back with the tracks it had.
/// "Copy animation" is the same with the tracks of the animation copied.
class AddAnimationCommand : public HistoryCommand
{
public:
    AddAnimationCommand(HistoryManager* history, const QString& name);
    /// A new animation that starts with tracks.
    AddAnimationCommand(HistoryManager* history, const QString& name, AnimationTracks tracks, const QString& text);
    QString identifier() const { return m_identifier; }

protected:
    void apply() override;
    void revert() override;

private:
    HistoryManager* m_history;
    QString m_name;
    QString m_previous;
    QString m_identifier;
    /// The tracks of the animation while it stands undone.
    AnimationTracks m_tracks;
};
