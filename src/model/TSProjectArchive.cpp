#include "TSProjectArchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <zlib.h>

namespace {

constexpr qint64 kChunk = 256 * 1024;

// Copies everything from one device to the other; false on a read or write error.
bool copyDevice(QIODevice& from, QIODevice& to)
{
    QByteArray buffer;
    buffer.resize(static_cast<int>(kChunk));
    for (;;) {
        const qint64 read = from.read(buffer.data(), kChunk);
        if (read < 0) {
            return false;
        }
        if (read == 0) {
            return true;
        }
        if (to.write(buffer.constData(), read) != read) {
            return false;
        }
    }
}

enum class EntryCopy
{
    Done,
    Failed,
    TooLarge
};

// Copies an entry's bytes into a file, stopping as soon as more than limit bytes came out.
EntryCopy copyEntry(QIODevice& entry, QIODevice& output, qint64 limit)
{
    QByteArray buffer;
    buffer.resize(static_cast<int>(kChunk));
    qint64 total = 0;
    for (;;) {
        const qint64 read = entry.read(buffer.data(), kChunk);
        if (read < 0) {
            return EntryCopy::Failed;
        }
        if (read == 0) {
            return EntryCopy::Done;
        }
        total += read;
        if (total > limit) {
            return EntryCopy::TooLarge;
        }
        if (output.write(buffer.constData(), read) != read) {
            return EntryCopy::Failed;
        }
    }
}

// What one extraction put into a folder, so a refused archive can be taken out again.
class ExtractedFiles
{
public:
    explicit ExtractedFiles(const QString& folder) : m_root(folder) {}

    // Creates a folder below the root, remembering each level that did not exist yet.
    void makeFolder(const QString& relative)
    {
        const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        QString path;
        for (const QString& part : parts) {
            path += (path.isEmpty() ? QString() : QStringLiteral("/")) + part;
            if (!m_root.exists(path) && m_root.mkdir(path)) {
                m_folders.append(path);
            }
        }
    }

    void addFile(const QString& path) { m_files.append(path); }

    void removeAll()
    {
        for (const QString& file : qAsConst(m_files)) {
            QFile::remove(file);
        }
        for (auto it = m_folders.crbegin(); it != m_folders.crend(); ++it) {
            m_root.rmdir(*it);
        }
        m_files.clear();
        m_folders.clear();
    }

private:
    QDir m_root;
    QStringList m_files;
    QStringList m_folders;
};

} // namespace

QStringList TSProjectArchive::collectFiles(const QString& folder)
{
    QStringList files;
    const QDir root(folder);
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileInfo().isFile() && !it.fileInfo().isSymLink()) {
            files.append(root.relativeFilePath(path));
        }
    }
    return files;
}

TSProjectArchive::CompressResult TSProjectArchive::compress(const QString& folder, const QStringList& files,
                                                            const QString& archivePath, const Progress& progress)
{
    if (files.isEmpty()) {
        return CompressResult::NoFiles;
    }
    QFile::remove(archivePath);
    QuaZip zip(archivePath);
    if (!zip.open(QuaZip::mdCreate)) {
        return CompressResult::CreateFailed;
    }
    const QDir root(folder);
    CompressResult result = CompressResult::Ok;
    for (int i = 0; i < files.size() && result == CompressResult::Ok; ++i) {
        const QString sourcePath = root.filePath(files.at(i));
        QFile source(sourcePath);
        if (!source.open(QIODevice::ReadOnly)) {
            result = CompressResult::InputOpenFailed;
            break;
        }
        QuaZipFile entry(&zip);
        if (!entry.open(QIODevice::WriteOnly, QuaZipNewInfo(files.at(i), sourcePath), nullptr, 0, Z_DEFLATED,
                        Z_DEFAULT_COMPRESSION, false, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY)) {
            result = CompressResult::EntryOpenFailed;
            break;
        }
        const bool copied = copyDevice(source, entry);
        entry.close();
        if (!copied || entry.getZipError() != ZIP_OK) {
            result = CompressResult::WriteFailed;
        }
        if (progress) {
            progress(i + 1, files.size());
        }
    }
    zip.close();
    if (result == CompressResult::Ok && zip.getZipError() != ZIP_OK) {
        result = CompressResult::WriteFailed;
    }
    if (result != CompressResult::Ok) {
        QFile::remove(archivePath);
    }
    return result;
}

bool TSProjectArchive::verify(const QString& archivePath, const QStringList& expectedEntries,
                              QString* problem)
{
    auto fail = [problem](const QString& what) {
        if (problem) {
            *problem = what;
        }
        return false;
    };
    QuaZip zip(archivePath);
    if (!zip.open(QuaZip::mdUnzip)) {
        return fail(QStringLiteral("cannot open it (zip error %1)").arg(zip.getZipError()));
    }
    QSet<QString> remaining(expectedEntries.begin(), expectedEntries.end());
    QByteArray buffer;
    buffer.resize(static_cast<int>(kChunk));
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        if (!remaining.remove(name)) {
            return fail(QStringLiteral("unexpected entry %1").arg(name));
        }
        QuaZipFile entry(&zip);
        if (!entry.open(QIODevice::ReadOnly)) {
            return fail(
                QStringLiteral("cannot open entry %1 (zip error %2)").arg(name).arg(entry.getZipError()));
        }
        qint64 read = 0;
        while ((read = entry.read(buffer.data(), kChunk)) > 0) {
        }
        // Closing after reading everything checks the CRC.
        entry.close();
        if (entry.getZipError() == UNZ_CRCERROR) {
            return fail(QStringLiteral("CRC error in %1").arg(name));
        }
        if (read != 0 || entry.getZipError() != UNZ_OK) {
            return fail(
                QStringLiteral("cannot read entry %1 (zip error %2)").arg(name).arg(entry.getZipError()));
        }
    }
    if (zip.getZipError() != UNZ_OK) {
        return fail(QStringLiteral("cannot list its entries (zip error %1)").arg(zip.getZipError()));
    }
    if (!remaining.isEmpty()) {
        return fail(QStringLiteral("%1 is missing").arg(*remaining.begin()));
    }
    return true;
}

bool TSProjectArchive::isSafeEntryName(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.contains(QChar(0)) || (name.size() >= 2 && name.at(1) == QLatin1Char(':'))) {
        return false;
    }
    const QStringList parts = name.split(QLatin1Char('/'));
    for (const QString& part : parts) {
        if (part == QLatin1String("..")) {
            return false;
        }
    }
    return true;
}

TSProjectArchive::ExtractResult TSProjectArchive::extract(const QString& archivePath, const QString& folder)
{
    ExtractResult result;
    if (!QFileInfo(archivePath).isFile()) {
        result.fileMissing = true;
        result.errorCode = -1;
        return result;
    }
    QuaZip zip(archivePath);
    if (!zip.open(QuaZip::mdUnzip)) {
        result.errorCode = zip.getZipError();
        // The library reports any file it cannot take as a zip as an open error; a file that
        // can be read but is not a zip archive is a bad archive.
        QFile file(archivePath);
        if (result.errorCode == UNZ_OPENERROR && file.open(QIODevice::ReadOnly)) {
            result.errorCode = UNZ_BADZIPFILE;
        }
        return result;
    }
    result.opened = true;
    // The sizes the archive announces are checked before anything is written; the bytes that
    // really come out are counted while copying, in case an entry holds more than it says.
    qint64 announced = 0;
    for (const QuaZipFileInfo64& info : zip.getFileInfoList64()) {
        const qint64 size = static_cast<qint64>(std::min<quint64>(info.uncompressedSize, kMaxTotalSize + 1));
        if (size > kMaxEntrySize) {
            result.tooLarge = true;
            result.oversizedEntry = info.name;
            return result;
        }
        announced += size;
        if (announced > kMaxTotalSize) {
            result.tooLarge = true;
            return result;
        }
    }
    ExtractedFiles extracted(folder);
    qint64 written = 0;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        const QString target = QStringLiteral("%1/%2").arg(folder, name);
        if (name.endsWith(QLatin1Char('/')) && isSafeEntryName(name.chopped(1))) {
            extracted.makeFolder(name);
            continue;
        }
        if (!isSafeEntryName(name)) {
            result.skippedTargets.append(target);
            continue;
        }
        extracted.makeFolder(QFileInfo(name).path());
        QFile output(target);
        if (!output.open(QIODevice::WriteOnly)) {
            result.skippedTargets.append(target);
            continue;
        }
        extracted.addFile(target);
        QuaZipFile entry(&zip);
        if (!entry.open(QIODevice::ReadOnly)) {
            output.remove();
            result.skippedTargets.append(target);
            continue;
        }
        const qint64 limit = std::min(kMaxEntrySize, kMaxTotalSize - written);
        const EntryCopy copied = copyEntry(entry, output, limit);
        entry.close();
        output.close();
        if (copied == EntryCopy::TooLarge) {
            extracted.removeAll();
            result.tooLarge = true;
            if (limit == kMaxEntrySize) {
                result.oversizedEntry = name;
            }
            break;
        }
        if (copied == EntryCopy::Failed || entry.getZipError() != UNZ_OK) {
            // A corrupt entry would load as garbage; leave it out.
            output.remove();
            result.skippedTargets.append(target);
            continue;
        }
        written += output.size();
    }
    zip.close();
    return result;
}
