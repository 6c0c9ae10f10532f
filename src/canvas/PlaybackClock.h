#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

/// Drives playback with a chain of single-shot timers. Each tick advances the time by the
/// milliseconds measured since the previous tick (one frame on the first tick), times the
/// playback speed.
class PlaybackClock : public QObject
{
    Q_OBJECT

public:
    explicit PlaybackClock(QObject* parent = nullptr);

    float frameRate() const { return m_frameRate; }
    void setFrameRate(float fps);
    /// trunc(1000 / frame rate) milliseconds.
    int tickInterval() const;
    float timeScale() const { return m_timeScale; }
    void setTimeScale(float scale) { m_timeScale = scale; }

    /// Schedules the next tick.
    void scheduleNext();
    void stop();
    /// The milliseconds to advance by for the tick now running.
    float advance();

Q_SIGNALS:
    void tick();

private:
    QTimer m_timer;
    QElapsedTimer m_elapsed;
    bool m_lastTickPlaying = false;
    float m_frameRate = 30.0f;
    float m_timeScale = 1.0f;
};
