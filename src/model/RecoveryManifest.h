#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

/// What a recovery state says about itself: which document it belongs to, when and by which
/// process it was written, and which folder beside it holds the files.
class RecoveryManifest
{
public:
    /// The layout this editor writes and reads; a state of any other number is not opened.
    static constexpr int kFormat = 1;

    enum class Status
    {
        Missing, ///< no manifest: the folder holds no recovery state
        Ok,
        Unusable, ///< a manifest this editor cannot use (another format, or not readable)
    };

    int format = kFormat;
    QString documentName; ///< the title the document had in the editor
    QString documentPath; ///< the document's file; empty for a document that was never saved
    QDateTime time;       ///< when the state was taken (UTC)
    qint64 pid = 0;       ///< the process of the editor that wrote it
    QString stateFolder;  ///< the folder beside the manifest that holds the files
    bool unsaved = false; ///< whether the state holds changes that its document does not

    QByteArray toJson() const;
    /// Reads a manifest; Unusable with the reason in problem when the text is not one of ours.
    static Status fromJson(const QByteArray& json, RecoveryManifest* manifest, QString* problem);
};
