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

    /// The most an archive may unpack to: per entry and for all entries together. Far above
    /// any real project (the largest picture Qt reads is 256 MB), far below what fills a disk.
    static constexpr qint64 kMaxEntrySize = qint64(256) << 20;
    static constexpr qint64 kMaxTotalSize = qint64(1) << 30;

    /// Result of opening an archive for extraction: 0 on success, else the zip library's code
    /// (or -1 when the file does not exist).
    struct ExtractResult
    {
        bool opened = false;
        bool fileMissing = false;
        int errorCode = 0;
        /// Entries that could not be written (unsafe names, unwritable targets, corrupt data).
        QStringList skippedTargets;
        /// The archive unpacks to more than the limits allow; nothing of it was kept.
        bool tooLarge = false;
        /// The entry above kMaxEntrySize, or empty when only all entries together are too large.
        QString oversizedEntry;
    };

    /// Extracts every entry of archivePath into folder, skipping what cannot be extracted safely.
    /// An archive that announces or unpacks to more than the limits is refused: extraction stops
    /// at once and everything it wrote is removed again.
    static ExtractResult extract(const QString& archivePath, const QString& folder);
};
