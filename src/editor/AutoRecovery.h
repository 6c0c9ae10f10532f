#pragma once

#include "RecoverySnapshot.h"
#include "RecoverySnapshotBuilder.h"
#include "RecoveryWriter.h"

#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class DocumentController;

/// Keeps a recovery state of the open document in its working folder, so that an editor that is
/// killed loses at most the last interval() of edits.
///
/// The first change after a state was written starts the timer; when it runs out the document
/// is pushed into the models and taken as a RecoverySnapshot on the GUI thread, a few
/// milliseconds per turn of the event loop (the model files as text, the pictures as shared
/// images), and a worker thread writes it. A state is also written after each save, marked as
/// holding nothing unsaved. One write runs at a time; a snapshot that comes while one runs
/// waits, and a newer one replaces it.
class AutoRecovery : public QObject
{
    Q_OBJECT

public:
    /// Two minutes; the environment variable BONESTAGE_RECOVERY_INTERVAL_MS overrides it.
    static constexpr int kDefaultInterval = 2 * 60 * 1000;
    /// How long one turn of taking a snapshot may hold the GUI thread, in nanoseconds.
    static constexpr qint64 kStepBudget = 4 * 1000 * 1000;

    /// documentName gives the name the document goes by (the window's title).
    AutoRecovery(DocumentController* document, std::function<QString()> documentName,
                 QObject* parent = nullptr);
    /// Waits for the write in progress.
    ~AutoRecovery() override;

    static int interval();
    /// While busy() is true (a save or an export under way, which hand the event loop round
    /// while the models or the pose are half changed) no snapshot is taken; it follows later.
    void setBusyCheck(std::function<bool()> busy) { m_busy = std::move(busy); }

    /// The document changed: a state follows within interval().
    void noteChange();
    /// Starts taking a snapshot now (a snapshot being taken starts over) and writes it in the
    /// background once it is taken.
    void writeNow();
    /// Stops the timer, drops the snapshot being taken or waiting and waits for the write in
    /// progress: before the working folder is replaced.
    void finish();
    bool isWriting() const { return m_watcher.isRunning(); }
    bool isTaking() const { return m_builder != nullptr; }

Q_SIGNALS:
    /// A write ended; ok false when it failed (the previous state stays).
    void written(bool ok);

private:
    /// The timer ran out: a state is written when there is something unsaved to keep, or when
    /// the last one kept unsaved work that is gone now (undone, say).
    void intervalPassed();
    void takeStep();
    void start(RecoverySnapshot snapshot);
    void writeFinished();

    QPointer<DocumentController> m_document;
    std::function<QString()> m_documentName;
    std::function<bool()> m_busy;
    QTimer m_timer;
    QTimer m_steps;
    std::unique_ptr<RecoverySnapshotBuilder> m_builder;
    /// Whether the last state taken in this working folder holds unsaved work.
    bool m_keepsUnsaved = false;
    QFutureWatcher<bool> m_watcher;
    std::optional<RecoverySnapshot> m_waiting;
    /// Used by the worker only while a write runs, by nobody otherwise.
    RecoveryWriter m_writer;
};
