#include "PlaybackClock.h"

PlaybackClock::PlaybackClock(QObject* parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &PlaybackClock::tick);
}

void PlaybackClock::setFrameRate(float fps)
{
    m_frameRate = fps > 0.0f ? fps : 30.0f;
}

int PlaybackClock::tickInterval() const
{
    return static_cast<int>(1000.0f / m_frameRate);
}

void PlaybackClock::scheduleNext()
{
    m_timer.start(tickInterval());
}

void PlaybackClock::stop()
{
    m_timer.stop();
    m_lastTickPlaying = false;
}

float PlaybackClock::advance()
{
    float milliseconds = 1000.0f / m_frameRate;
    if (m_lastTickPlaying && m_elapsed.isValid()) {
        milliseconds = static_cast<float>(m_elapsed.nsecsElapsed()) / 1.0e6f;
    }
    m_elapsed.restart();
    m_lastTickPlaying = true;
    return milliseconds * m_timeScale;
}
