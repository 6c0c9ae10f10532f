#include "TSProjectArchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

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
    const QDir root(folder);
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        const QString target = QStringLiteral("%1/%2").arg(folder, name);
        if (name.endsWith(QLatin1Char('/')) && isSafeEntryName(name.chopped(1))) {
            root.mkpath(name);
            continue;
        }
        if (!isSafeEntryName(name)) {
            result.skippedTargets.append(target);
            continue;
        }
        root.mkpath(QFileInfo(name).path());
        QFile output(target);
        QuaZipFile entry(&zip);
        if (!output.open(QIODevice::WriteOnly) || !entry.open(QIODevice::ReadOnly)) {
            result.skippedTargets.append(target);
            continue;
        }
        const bool copied = copyDevice(entry, output);
        entry.close();
        output.close();
        if (!copied || entry.getZipError() != UNZ_OK) {
            // A corrupt entry would load as garbage; leave it out.
            output.remove();
            result.skippedTargets.append(target);
        }
    }
    zip.close();
    return result;
}
