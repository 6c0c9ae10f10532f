#pragma once

#include "TSAssetIndex.h"
#include "TSIconAsset.h"

#include <QFutureWatcher>
#include <QObject>
#include <QSize>

/// Reads the images of one asset group in the background, one after another on the global
/// thread pool, and keeps their thumbnails in a cache folder so the next load reads small files.
/// Loading another group abandons the one in progress; nothing here ever blocks the caller.
class TSAssetsLoader : public QObject
{
    Q_OBJECT

public:
    explicit TSAssetsLoader(QObject* parent = nullptr);
    ~TSAssetsLoader() override;

    /// QDir::tempPath()/<application id>/cache/<application display name>.
    static QString defaultCacheFolder();
    /// "<md5 of the absolute path>_<w>x<h>_<mode>.<complete suffix>".
    static QString cacheFileName(const QString& imagePath, const QSize& size, Qt::AspectRatioMode mode);

    void setCacheFolder(const QString& folder) { m_cacheFolder = folder; }
    QString cacheFolder() const { return m_cacheFolder; }

    bool isLoading() const { return m_watcher.isRunning() || m_next < m_entries.size(); }
    /// Thumbnails read from the cache and images read in full, since construction.
    int cacheReads() const { return m_cacheReads; }
    int fullReads() const { return m_fullReads; }

public Q_SLOTS:
    /// Loads the group listed by indexFile; its paths are relative to baseFolder.
    void loadGroup(const QString& indexFile, const QString& baseFolder, const QSize& size,
                   Qt::AspectRatioMode scaleMode);
    /// Abandons the load in progress.
    void cancel();

Q_SIGNALS:
    void assetsCountChanged(int count);
    void assetLoaded(const TSIconAsset& asset);
    void groupLoaded();

public:
    /// What a background read brings back.
    struct Result
    {
        QImage image;
        QString error;
        QString cacheError;
        bool fromCache = false;
    };

private:
    void startNext();
    void readFinished();

    QString m_cacheFolder;
    QList<TSAssetIndex::Entry> m_entries;
    QString m_baseFolder;
    QSize m_size;
    Qt::AspectRatioMode m_scaleMode = Qt::KeepAspectRatio;
    int m_next = 0;
    QString m_currentPath;
    QFutureWatcher<Result> m_watcher;
    int m_cacheReads = 0;
    int m_fullReads = 0;
};
