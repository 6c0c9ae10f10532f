#include "FrameWriter.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QMutexLocker>

#include <algorithm>

namespace {

// Frames waiting or being encoded for each encoder: enough to keep it busy while the next
// frame is drawn, few enough to hold little memory.
constexpr int kFramesPerThread = 2;

} // namespace

FrameWriter::FrameWriter(int threads) : m_room(std::max(1, threads) * kFramesPerThread)
{
    m_pool.setMaxThreadCount(std::max(1, threads));
}

FrameWriter::~FrameWriter()
{
    m_pool.waitForDone();
}

bool FrameWriter::writeFile(const QImage& frame, const QString& path)
{
    // Encoded in memory and written in one piece, so that any failure of the disk (a full one
    // included, which a buffered file reports only when it is flushed) is seen here.
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !QImageWriter(&buffer, "png").write(frame)) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const bool written = file.write(png) == png.size() && file.flush();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

bool FrameWriter::hasFailed() const
{
    QMutexLocker lock(&m_mutex);
    return m_firstFailure >= 0;
}

void FrameWriter::recordFailure(int index, const QString& path)
{
    QMutexLocker lock(&m_mutex);
    if (m_firstFailure < 0 || index < m_firstFailure) {
        m_firstFailure = index;
        m_failedPath = path;
    }
}

bool FrameWriter::write(int index, const QImage& frame, const QString& path)
{
    if (hasFailed()) {
        return false;
    }
    if (frame.isNull()) {
        recordFailure(index, path);
        return false;
    }
    m_room.acquire();
    m_pool.start([this, index, frame, path] {
        if (writeFile(frame, path)) {
            QMutexLocker lock(&m_mutex);
            m_written.insert(index, path);
        } else {
            recordFailure(index, path);
        }
        m_room.release();
    });
    return true;
}

FrameWriter::Result FrameWriter::finish()
{
    m_pool.waitForDone();
    QMutexLocker lock(&m_mutex);
    Result result;
    if (m_firstFailure < 0) {
        result.frames = m_written.size();
        return result;
    }
    // Later frames were written while earlier ones were still being encoded; one at a time they
    // would never have been started.
    for (auto it = m_written.upperBound(m_firstFailure); it != m_written.end(); ++it) {
        QFile::remove(it.value());
    }
    result.frames = m_firstFailure;
    result.error = QStringLiteral("Cannot write %1.").arg(m_failedPath);
    return result;
}
