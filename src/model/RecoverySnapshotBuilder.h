#pragma once

#include "RecoverySnapshot.h"

#include <QByteArray>
#include <QList>

#include <string>

class TSModel;

/// Takes a RecoverySnapshot a few milliseconds at a time, so that the GUI thread is never held
/// for long, however large the document.
///
/// The constructor notes the models of every class (retaining them, so that models replaced in
/// the meantime stay as they were) and the pictures; each step() turns models into the text of
/// the model files of a save until its time is up. Each model is printed as the element it is in
/// its file, and a file is the common head, its models' elements and the common tail: byte for
/// byte what a save writes. GUI thread only.
class RecoverySnapshotBuilder
{
public:
    RecoverySnapshotBuilder(TSModelController* controller, const RecoveryManifest& manifest);
    ~RecoverySnapshotBuilder();
    RecoverySnapshotBuilder(const RecoverySnapshotBuilder&) = delete;
    RecoverySnapshotBuilder& operator=(const RecoverySnapshotBuilder&) = delete;

    /// Prints models for about budget nanoseconds (at least one); true when all are done.
    bool step(qint64 budget);
    bool isDone() const { return m_next >= m_models.size(); }
    /// The snapshot, once isDone().
    RecoverySnapshot result() const { return m_snapshot; }

private:
    /// One model in one pass, and the file it goes to.
    struct Entry
    {
        TSModel* model;
        int pass;
        int file;
    };

    void finishFile(int file);

    RecoverySnapshot m_snapshot;
    QList<Entry> m_models;
    /// Per file: its name and the elements printed so far.
    QList<RecoverySnapshot::File> m_files;
    QList<int> m_remaining;
    int m_next = 0;
};
