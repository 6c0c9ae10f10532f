#pragma once

#include <QUndoCommand>

/// Base of the editor's undo commands. A command is new (0), undone (1) or done (2); redo does
/// nothing when done and undo nothing when undone. A command whose edit the user's gesture has
/// already made skips the redo that pushing it runs. Commands that keep records of what is not
/// in the document (an undone addition, a done removal) say so when they are destroyed.
class HistoryCommand : public QUndoCommand
{
public:
    enum State { New = 0, Undone = 1, Done = 2 };

    explicit HistoryCommand(const QString& text, bool appliedByGesture = false, QUndoCommand* parent = nullptr);
    ~HistoryCommand() override;

    void redo() final;
    void undo() final;
    State state() const { return m_state; }

protected:
    virtual void apply() = 0;
    virtual void revert() = 0;
    /// Commands that keep records call this first in their destructor, saying whether the
    /// records are out of the document (and so are discarded with the command).
    void announceDestruction(bool unusedRecords);

private:
    State m_state = New;
    bool m_appliedByGesture;
    bool m_announced = false;
};
