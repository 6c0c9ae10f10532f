#pragma once

#include <QString>
#include <QStringList>

#include <functional>

/// The zip archive of a working folder: one deflated entry per regular file, named by its path
/// relative to the folder with "/" separators, with the file's time stamp.
class TSProjectArchive
{
public:
    enum class CompressResult {
        Ok,
        NoFiles,
        CreateFailed,
        InputOpenFailed,
        EntryOpenFailed,
        WriteFailed,
    };

    /// Called after each file with (files done, files in all).
    using Progress = std::function<void(int done, int total)>;

    /// Regular files below folder, relative paths with "/", in listing order.
    static QStringList collectFiles(const QString& folder);

    /// Writes the archive of folder's files; the archive file is removed again on failure.
    static CompressResult compress(const QString& folder, const QStringList& files, const QString& archivePath,
                                   const Progress& progress);

    /// Reopens an archive and reads every entry back, checking its CRC: true when it holds exactly
    /// the expected entries and all of them read back intact. Otherwise problem (when given) says
    /// what was found first.
    static bool verify(const QString& archivePath, const QStringList& expectedEntries,
                       QString* problem = nullptr);

    /// Whether an entry name stays inside the folder it is extracted to (no "..", no absolute
    /// path, no drive letter, no backslash).
    static bool isSafeEntryName(const QString& name);

    /// Result of opening an archive for extraction: 0 on success, else the zip library's code
    /// (or -1 when the file does not exist).
    struct ExtractResult
    {
        bool opened = false;
        bool fileMissing = false;
        int errorCode = 0;
        /// Entries that could not be written (unsafe names, unwritable targets, corrupt data).
        QStringList skippedTargets;
    };

    /// Extracts every entry of archivePath into folder, skipping what cannot be extracted safely.
    static ExtractResult extract(const QString& archivePath, const QString& folder);
};
