#include "FrameRenderSettings.h"

#include <cmath>

QVector<float> FrameRenderSettings::frameTimes(float durationSeconds, int fps, float speed)
{
    QVector<float> times;
    if (fps <= 0 || !(speed > 0.0f) || !(durationSeconds > 0.0f)) {
        return times;
    }
    const int durationMs = static_cast<int>(durationSeconds * 1000.0f);
    const float step = (1000.0f / static_cast<float>(fps)) * speed;
    float t = 0.0f;
    while (t < static_cast<float>(durationMs)) {
        const float next = t + step;
        if (!(next > t)) {
            break;
        }
        t = next;
        times.append(t);
    }
    return times;
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
