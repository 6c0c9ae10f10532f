#pragma once

#include <QHash>
#include <QString>

struct RecoverySnapshot;

/// Writes snapshots into the recovery folder of their working folder, one at a time, on any
/// thread (but only one at a time per writer).
///
/// Each snapshot goes into a fresh state folder; only when every file of it is written does the
/// new manifest replace the old one (QSaveFile: written beside, then renamed), and only then do
/// the older states go. A write that fails or is cut short leaves the previous state as it was.
/// Pictures that did not change since the last state are copied from it instead of being encoded
/// again.
class RecoveryWriter
{
public:
    /// False with the reason in error; the previous state stays usable.
    bool write(const RecoverySnapshot& snapshot, QString* error);

private:
    bool writeFiles(const RecoverySnapshot& snapshot, const QString& state, QHash<qint64, QString>* pictures,
                    QString* error) const;

    /// Picture cache key -> the file that holds it in the current state.
    QHash<qint64, QString> m_pictures;
};
