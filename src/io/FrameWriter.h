#pragma once

#include <QImage>
#include <QMap>
#include <QMutex>
#include <QSemaphore>
#include <QString>
#include <QThreadPool>

/// Writes rendered frames as PNG files on worker threads while the caller renders the next ones.
///
/// At most a few frames wait or are being encoded at any time: write() blocks until there is
/// room. The outcome is the one of writing each frame before rendering the next: the frames
/// before the first one that could not be written, the reason for that one, and no file of any
/// later frame (those written meanwhile are removed again).
class FrameWriter
{
public:
    struct Result
    {
        int frames = 0; ///< frames written, all of those before the first failure
        QString error;  ///< "Cannot write <path>." for the first frame that failed; empty when none did
    };

    /// threads: encoders working at once (at least one).
    explicit FrameWriter(int threads = QThread::idealThreadCount());
    /// Waits for the frames still being written.
    ~FrameWriter();

    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    /// Queues frame number index (counting from 0, in order) to be written to path. False, with
    /// nothing queued, once a frame has failed; a null frame fails at once.
    bool write(int index, const QImage& frame, const QString& path);
    /// Waits for every queued frame; the outcome of all of them.
    Result finish();

private:
    /// Encodes and writes one frame; the file is complete on disk when this returns true.
    static bool writeFile(const QImage& frame, const QString& path);
    void recordFailure(int index, const QString& path);
    bool hasFailed() const;

    QThreadPool m_pool;
    QSemaphore m_room;
    mutable QMutex m_mutex;
    int m_firstFailure = -1;
    QString m_failedPath;
    /// Frames written so far, by index.
    QMap<int, QString> m_written;
};
