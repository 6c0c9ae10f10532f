#include "TSAssetsLoader.h"

#include "AppInfo.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QtConcurrent>

namespace {

/// Runs on a pool thread: reads the thumbnail (from the cache when it is there) and stores a
/// freshly made one in the cache.
TSAssetsLoader::Result readThumbnail(const QString& path, const QString& cacheFile, const QSize& size,
                                     Qt::AspectRatioMode mode)
{
    TSAssetsLoader::Result result;
    result.fromCache = !cacheFile.isEmpty() && QFileInfo::exists(cacheFile);
    QImageReader reader(result.fromCache ? cacheFile : path);
    const QSize full = reader.size();
    if (full.isValid()) {
        reader.setScaledSize(full.scaled(size, mode));
    }
    result.image = reader.read();
    if (result.image.isNull() && result.fromCache) {
        // A damaged cache file is made again from the image.
        result.fromCache = false;
        QImageReader original(path);
        if (original.size().isValid()) {
            original.setScaledSize(original.size().scaled(size, mode));
        }
        result.image = original.read();
        if (result.image.isNull()) {
            result.error = original.errorString();
        }
    } else if (result.image.isNull()) {
        result.error = reader.errorString();
    }
    if (!result.image.isNull() && !result.fromCache && !cacheFile.isEmpty()) {
        QSaveFile out(cacheFile);
        const QByteArray format = QFileInfo(path).suffix().toLatin1();
        if (!QDir().mkpath(QFileInfo(cacheFile).path()) || !out.open(QIODevice::WriteOnly) ||
            !QImageWriter(&out, format).write(result.image) || !out.commit()) {
            out.cancelWriting();
            result.cacheError = out.errorString();
        }
    }
    return result;
}

} // namespace

TSAssetsLoader::TSAssetsLoader(QObject* parent) : QObject(parent), m_cacheFolder(defaultCacheFolder())
{
    qRegisterMetaType<TSIconAsset>();
    connect(&m_watcher, &QFutureWatcher<Result>::finished, this, &TSAssetsLoader::readFinished);
}

TSAssetsLoader::~TSAssetsLoader()
{
    cancel();
    m_watcher.waitForFinished();
}

QString TSAssetsLoader::defaultCacheFolder()
{
    const QString name = QGuiApplication::applicationDisplayName();
    return QDir::tempPath() + QLatin1Char('/') + appInfo(AppInfo::AppId) + QStringLiteral("/cache/") +
           (name.isEmpty() ? QCoreApplication::applicationName() : name);
}

QString TSAssetsLoader::cacheFileName(const QString& imagePath, const QSize& size, Qt::AspectRatioMode mode)
{
    const QFileInfo info(imagePath);
    const QByteArray md5 =
        QCryptographicHash::hash(info.absoluteFilePath().toUtf8(), QCryptographicHash::Md5).toHex();
    return QStringLiteral("%1_%2x%3_%4.%5")
        .arg(QString::fromLatin1(md5))
        .arg(size.width())
        .arg(size.height())
        .arg(static_cast<int>(mode))
        .arg(info.completeSuffix());
}

void TSAssetsLoader::loadGroup(const QString& indexFile, const QString& baseFolder, const QSize& size,
                               Qt::AspectRatioMode scaleMode)
{
    cancel();
    m_baseFolder = baseFolder;
    m_size = size;
    m_scaleMode = scaleMode;
    QString error;
    switch (TSAssetIndex::read(indexFile, &m_entries, &error)) {
    case TSAssetIndex::ReadResult::OpenFailed:
        qDebug().noquote() << "TSAssetsLoader::loadGroup - unable to open grop file:" << indexFile << error;
        break;
    case TSAssetIndex::ReadResult::XmlError:
        qDebug().noquote() << "TSAssetsLoader::loadGroup -" << error;
        break;
    case TSAssetIndex::ReadResult::Ok:
        break;
    }
    Q_EMIT assetsCountChanged(m_entries.size());
    if (m_entries.isEmpty()) {
        Q_EMIT groupLoaded();
    } else if (!m_watcher.isRunning()) {
        startNext();
    }
    // Otherwise the read in flight belongs to the abandoned load; its end starts this one.
}

void TSAssetsLoader::cancel()
{
    m_entries.clear();
    m_next = 0;
    m_currentPath.clear();
}

void TSAssetsLoader::startNext()
{
    if (m_next >= m_entries.size()) {
        if (!m_entries.isEmpty()) {
            Q_EMIT groupLoaded();
        }
        return;
    }
    m_currentPath = QDir(m_baseFolder).absoluteFilePath(m_entries.at(m_next).path);
    // Thumbnails already in the cache folder are not cached again.
    const bool inCache =
        !m_cacheFolder.isEmpty() && m_currentPath.startsWith(QDir(m_cacheFolder).absolutePath());
    const QString cacheFile =
        m_cacheFolder.isEmpty() || inCache
            ? QString()
            : m_cacheFolder + QLatin1Char('/') + cacheFileName(m_currentPath, m_size, m_scaleMode);
    m_watcher.setFuture(QtConcurrent::run(readThumbnail, m_currentPath, cacheFile, m_size, m_scaleMode));
}

void TSAssetsLoader::readFinished()
{
    const Result result = m_watcher.result();
    if (m_currentPath.isEmpty()) {
        // The read belonged to an abandoned load.
        startNext();
        return;
    }
    const TSIconAsset asset{result.image, m_currentPath, m_entries.at(m_next).tags};
    ++m_next;
    m_currentPath.clear();
    if (result.image.isNull()) {
        qDebug().noquote() << "TSAssetsLoader::assetLoadFinished - unable to load image (" + asset.path + ")"
                           << result.error;
    } else {
        ++(result.fromCache ? m_cacheReads : m_fullReads);
        if (!result.cacheError.isEmpty()) {
            qDebug().noquote() << "[TSAssetsLoader] unable to cache the thumbnail of" << asset.path
                               << result.cacheError;
        }
        Q_EMIT assetLoaded(asset);
    }
    startNext();
}
