#pragma once

#include "HistoryCommand.h"

class HistoryManager;

/// "Change speed": the playback speed factor, before and after.
class PlaybackSpeedCommand : public HistoryCommand
{
public:
    PlaybackSpeedCommand(HistoryManager* history, float from, float to);

protected:
    void apply() override;
    void revert() override;

private:
    void set(float speed);

    HistoryManager* m_history;
    float m_from;
    float m_to;
};

/// "Change looping": whether playback starts again at the end.
class PlaybackLoopCommand : public HistoryCommand
{
public:
    PlaybackLoopCommand(HistoryManager* history, bool loop);

protected:
    void apply() override { set(m_loop); }
    void revert() override { set(!m_loop); }

private:
    void set(bool loop);

    HistoryManager* m_history;
    bool m_loop;
};
