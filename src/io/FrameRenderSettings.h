#pragma once

#include <QColor>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QVector>

/// What a frame export renders and where it writes: the scene rectangle, the pixel size of every
/// PNG, the frame rate and the fill behind the scene. Passed by value to the renderer.
struct FrameRenderSettings
{
    QString folder;
    QRectF rect;
    QSize size;
    int fps = 30;
    QColor background = Qt::transparent;

    /// The most frames one export writes: an hour at 60 frames per second. Anything longer is
    /// a mistake (a duration typed with too many zeros) that would write for days.
    static constexpr int kMaxFrames = 216000;

    /// The times, in milliseconds, at which the frames of an animation of durationSeconds are
    /// posed. Steps of (1000 / fps) × speed are summed in single precision from one step onwards
    /// while the sum is below the whole-millisecond duration, so the last frame sits at or just
    /// past the end (a 1.0 s animation at 30 fps gets 31 frames). Empty for a rate, speed or
    /// duration of zero or less, and when a step is too small to advance the sum.
    static QVector<float> frameTimes(float durationSeconds, int fps, float speed);
    /// How many times frameTimes() gives, counted no further than limit, so that an animation of
    /// any length is measured at once.
    static int frameCount(float durationSeconds, int fps, float speed, int limit = kMaxFrames + 1);
    /// Why an export of more than kMaxFrames frames at fps is refused.
    static QString tooManyFramesMessage(int fps);
    /// "<folder>/0000.png", "<folder>/0001.png", …: at least four digits.
    static QString framePath(const QString& folder, int index);
    /// The size of the intermediate image the scene is drawn into: the rectangle's size, shrunk
    /// (keeping its aspect ratio) to at most kMaxRenderSide pixels a side. Empty for an empty
    /// rectangle.
    static QSize renderSize(const QRectF& rect);

    static constexpr int kMaxRenderSide = 8192;
};
