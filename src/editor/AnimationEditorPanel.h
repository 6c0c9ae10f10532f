#pragma once

#include "DocumentController.h"

#include <QWidget>

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;
class QToolButton;
class TSAnimationEditorTimelineWidget;

/// The animation editor under the canvas: the animation chooser, play and loop, the length in
/// frames, the playback speed and the timeline.
class AnimationEditorPanel : public QWidget
{
    Q_OBJECT

public:
    explicit AnimationEditorPanel(QWidget* parent = nullptr);

    QComboBox* animationComboBox() const { return m_animations; }
    TSAnimationEditorTimelineWidget* timeline() const { return m_timeline; }
    QToolButton* playButton() const { return m_play; }
    /// Recording mode: typed values and drags write keys (checked) or the set-up pose.
    QToolButton* keyButton() const { return m_key; }
    QSpinBox* framesEdit() const { return m_frames; }
    QDoubleSpinBox* speedEdit() const { return m_speed; }

    /// Fills the chooser (text = name, data = identifier) and selects current, without signals.
    void setAnimations(const QList<DocumentController::Animation>& animations, const QString& current);
    QString currentIdentifier() const;
    /// Sets the length without announcing it.
    void setFrames(int frames);
    void setPlaying(bool playing);

private:
    QComboBox* m_animations;
    QToolButton* m_play;
    QToolButton* m_loop;
    QToolButton* m_key;
    QSpinBox* m_frames;
    QDoubleSpinBox* m_speed;
    TSAnimationEditorTimelineWidget* m_timeline;
};
