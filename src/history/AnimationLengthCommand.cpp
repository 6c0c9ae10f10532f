#include "AnimationLengthCommand.h"

#include "HistoryManager.h"

AnimationLengthCommand::AnimationLengthCommand(HistoryManager* history, int fromFrames, int toFrames)
    : HistoryCommand(QStringLiteral("Change frames")), m_history(history), m_animation(history->currentAnimation()),
      m_from(fromFrames), m_to(toFrames)
{
    if (Skeleton* skeleton = history->skeleton()) {
        for (const auto& object : skeleton->tracks()) {
            m_before.append(
                Duration{object->name(), object->duration(), object->isDurationExplicit(), object->inUse()});
        }
    }
}

void AnimationLengthCommand::apply()
{
    Skeleton* skeleton = m_history->skeleton();
    if (!skeleton || !m_history->enterAnimation(m_animation)) {
        return;
    }
    m_history->stopPlayback();
    skeleton->setDuration(m_to);
    Q_EMIT m_history->animationLengthChanged(m_to);
}

void AnimationLengthCommand::revert()
{
    Skeleton* skeleton = m_history->skeleton();
    if (!skeleton || !m_history->enterAnimation(m_animation)) {
        return;
    }
    m_history->stopPlayback();
    // Tracks are matched in order and by name; tracks made since keep the new length.
    const AnimationTracks& tracks = skeleton->tracks();
    for (int i = 0; i < tracks.count() && i < m_before.size(); ++i) {
        if (tracks.at(i)->name() == m_before.at(i).name) {
            tracks.at(i)->restoreDuration(m_before.at(i).seconds, m_before.at(i).isExplicit);
            tracks.at(i)->setInUse(m_before.at(i).inUse);
        }
    }
    Q_EMIT m_history->animationLengthChanged(m_from);
}
