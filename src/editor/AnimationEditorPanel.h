#pragma once

#include "DocumentController.h"

#include <QWidget>

class QComboBox;
class QDoubleSpinBox;
class QListWidget;
class QSpinBox;
class QToolButton;
class TSAnimationCurveEditor;
class TSAnimationEditorTimelineWidget;

/// The animation editor under the canvas: the animation chooser, play and loop, the length in
/// frames, the playback speed and the timeline; expanded, the property rows with the curve
/// editor beside them.
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
    /// The property rows ("Position X" to "Scale Y", in channel order).
    QListWidget* attributesList() const { return m_attributes; }
    TSAnimationCurveEditor* curveEditor() const { return m_curveEditor; }
    QToolButton* extendButton() const { return m_extend; }
    bool isExpanded() const;

    /// Fills the chooser (text = name, data = identifier) and selects current, without signals.
    void setAnimations(const QList<DocumentController::Animation>& animations, const QString& current);
    QString currentIdentifier() const;
    /// Sets the length without announcing it.
    void setFrames(int frames);
    void setPlaying(bool playing);

Q_SIGNALS:
    void expandedChanged(bool expanded);

private:
    QComboBox* m_animations;
    QToolButton* m_play;
    QToolButton* m_loop;
    QToolButton* m_key;
    QSpinBox* m_frames;
    QDoubleSpinBox* m_speed;
    TSAnimationEditorTimelineWidget* m_timeline;
    QToolButton* m_extend;
    QListWidget* m_attributes;
    TSAnimationCurveEditor* m_curveEditor;
    QWidget* m_curvePane;
};
