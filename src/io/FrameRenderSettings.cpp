#include "FrameRenderSettings.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Calls visit(t) for each frame time of frameTimes() while it returns true.
template <class Visit> void forEachFrameTime(float durationSeconds, int fps, float speed, Visit visit)
{
    if (fps <= 0 || !(speed > 0.0f) || !(durationSeconds > 0.0f)) {
        return;
    }
    // Whole milliseconds, as an int conversion gives them, without its overflow for huge values.
    const double wholeMs = std::min(std::trunc(static_cast<double>(durationSeconds * 1000.0f)),
                                    static_cast<double>(std::numeric_limits<int>::max()));
    const float durationMs = static_cast<float>(wholeMs);
    const float step = (1000.0f / static_cast<float>(fps)) * speed;
    float t = 0.0f;
    while (t < durationMs) {
        const float next = t + step;
        if (!(next > t)) {
            break;
        }
        t = next;
        if (!visit(t)) {
            break;
        }
    }
}

} // namespace

QVector<float> FrameRenderSettings::frameTimes(float durationSeconds, int fps, float speed)
{
    QVector<float> times;
    forEachFrameTime(durationSeconds, fps, speed, [&times](float t) {
        times.append(t);
        return true;
    });
    return times;
}

int FrameRenderSettings::frameCount(float durationSeconds, int fps, float speed, int limit)
{
    int count = 0;
    if (limit > 0) {
        forEachFrameTime(durationSeconds, fps, speed, [&count, limit](float) { return ++count < limit; });
    }
    return count;
}

QString FrameRenderSettings::tooManyFramesMessage(int fps)
{
    return QStringLiteral("At %1 frames per second it would take more than %2 frames; an export holds at "
                          "most %2 frames (an hour at 60 frames per second).")
        .arg(fps)
        .arg(kMaxFrames);
}

QString FrameRenderSettings::framePath(const QString& folder, int index)
{
    return QStringLiteral("%1/%2.png").arg(folder).arg(index, 4, 10, QLatin1Char('0'));
}

QSize FrameRenderSettings::renderSize(const QRectF& rect)
{
    QSize size = rect.size().toSize();
    if (size.width() <= 0 || size.height() <= 0) {
        return QSize();
    }
    if (size.width() > kMaxRenderSide || size.height() > kMaxRenderSide) {
        size.scale(kMaxRenderSide, kMaxRenderSide, Qt::KeepAspectRatio);
        size = size.expandedTo(QSize(1, 1));
    }
    return size;
}
