#include "FrameRenderer.h"

#include "FrameWriter.h"
#include "ItemData.h"
#include "ObjectManipulator.h"
#include "Skeleton.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 kProgressIntervalMs = 500;

} // namespace

FrameRenderer::FrameRenderer(Skeleton* skeleton, QGraphicsScene* scene, ObjectManipulator* manipulator,
                             QObject* parent)
    : QObject(parent), m_skeleton(skeleton), m_scene(scene), m_manipulator(manipulator)
{
}

FrameRenderer::Result FrameRenderer::renderFrames(const FrameRenderSettings& settings)
{
    Result result;
    if (!m_skeleton || !m_scene || m_rendering) {
        result.error = QStringLiteral("Nothing to render.");
        return result;
    }
    m_rendering = true;
    m_abort = false;
    m_skeleton->stop();

    const float savedTime = m_skeleton->currentTime();
    const bool skeletonWasVisible = m_skeleton->isSkeletonVisible();
    const QList<QGraphicsItem*> savedTargets = m_manipulator ? m_manipulator->targets() : QList<QGraphicsItem*>();
    m_skeleton->setSkeletonVisible(false);
    // Aids for the editing eye (the onion skin) are never part of a frame.
    QList<QGraphicsItem*> hiddenOverlays;
    for (QGraphicsItem* item : m_scene->items()) {
        if (item->isVisible() && item->data(ItemData::EditorOverlay).toBool()) {
            item->hide();
            hiddenOverlays.append(item);
        }
    }
    if (m_manipulator) {
        m_manipulator->setTargets({});
    }
    m_scene->clearSelection();

    const float duration = m_skeleton->duration();
    const float durationMs = std::trunc(duration * 1000.0f);
    const float speed = m_skeleton->timeScale();
    QVector<float> times;
    // Counted first: the times of an absurdly long animation would not even fit in memory.
    if (FrameRenderSettings::frameCount(duration, settings.fps, speed) > FrameRenderSettings::kMaxFrames) {
        result.error = QStringLiteral("The animation is too long to export. ") +
                       FrameRenderSettings::tooManyFramesMessage(settings.fps);
    } else {
        times = FrameRenderSettings::frameTimes(duration, settings.fps, speed);
    }
    const QSize renderSize = FrameRenderSettings::renderSize(settings.rect);

    if (result.ok() && !times.isEmpty()) {
        if (renderSize.isEmpty() || settings.size.isEmpty()) {
            result.error = QStringLiteral("The frame has no size.");
        } else if (!QDir().mkpath(settings.folder)) {
            result.error = QStringLiteral("Cannot create the folder %1.").arg(settings.folder);
        }
    }

    QElapsedTimer sinceReport;
    sinceReport.start();
    QImage image(result.ok() && !times.isEmpty() ? renderSize : QSize(), QImage::Format_ARGB32_Premultiplied);
    if (!times.isEmpty() && result.ok() && image.isNull()) {
        result.error = QStringLiteral("Not enough memory for a frame of %1 x %2.")
                           .arg(renderSize.width())
                           .arg(renderSize.height());
    }
    // Frames are drawn here, on the thread that owns the scene, and encoded on other threads
    // meanwhile; the outcome is reported as if each had been written before the next was drawn.
    FrameWriter writer;
    for (int index = 0; result.ok() && index < times.size() && !m_abort; ++index) {
        const float t = times.at(index);
        m_skeleton->showMoment(t);

        image.fill(settings.background);
        {
            QPainter painter(&image);
            painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
            m_scene->render(&painter, QRectF(image.rect()), settings.rect, Qt::KeepAspectRatio);
        }
        const QImage frame = image.size() == settings.size
                                 ? image
                                 : image.scaled(settings.size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!writer.write(index, frame, FrameRenderSettings::framePath(settings.folder, index))) {
            break;
        }

        if (sinceReport.elapsed() > kProgressIntervalMs) {
            Q_EMIT exportProgress(std::min(static_cast<qreal>(t) / static_cast<qreal>(durationMs), qreal(1.0)));
            sinceReport.restart();
        }
    }
    const FrameWriter::Result written = writer.finish();
    result.frames = written.frames;
    if (result.ok()) {
        result.error = written.error;
    }
    result.aborted = m_abort;

    if (m_skeleton) {
        m_skeleton->showMoment(savedTime);
        m_skeleton->setSkeletonVisible(skeletonWasVisible);
    }
    if (m_manipulator && !savedTargets.isEmpty()) {
        m_manipulator->setTargets(savedTargets);
    }
    for (QGraphicsItem* item : hiddenOverlays) {
        item->show();
    }
    m_rendering = false;
    return result;
}
