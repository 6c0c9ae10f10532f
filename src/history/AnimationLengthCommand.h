#pragma once

#include "HistoryCommand.h"

#include <QList>
#include <QString>

class HistoryManager;

/// "Change frames": the current animation's frame count; undo gives every track back its
/// duration exactly as it was.
class AnimationLengthCommand : public HistoryCommand
{
public:
    AnimationLengthCommand(HistoryManager* history, int fromFrames, int toFrames);

protected:
    void apply() override;
    void revert() override;

private:
    struct Duration
    {
        QString name;
        float seconds = 0.0f;
        bool isExplicit = false;
        bool inUse = false;
    };

    HistoryManager* m_history;
    QString m_animation;
    int m_from;
    int m_to;
    QList<Duration> m_before;
};
