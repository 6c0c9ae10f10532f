#pragma once

#include "DocumentController.h"
#include "OnionSkin.h"
#include "TSDeletableComboBox.h"

#include <QWidget>

#include <functional>

class AnimationEditorController;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QToolButton;
class TSAnimationEditorTimelineWidget;

/// The animation editor under the canvas: the animation chooser with add and copy, play, loop
/// and recording, the length in frames and the speed, the frame shown, the onion skin, the
/// collapse and expand buttons and the timeline; expanded, also the property rows and the place
/// of the curve editor. The panel shows and asks; AnimationEditorController acts.
class AnimationEditorPanel : public QWidget
{
    Q_OBJECT

public:
    explicit AnimationEditorPanel(QWidget* parent = nullptr);

    TSDeletableComboBox* animationComboBox() const { return m_animations; }
    TSAnimationEditorTimelineWidget* timeline() const { return m_timeline; }
    QToolButton* playButton() const { return m_play; }
    QToolButton* loopButton() const { return m_loop; }
    /// Recording mode: typed values and drags write keys (checked) or the set-up pose.
    QToolButton* keyButton() const { return m_key; }
    QLineEdit* framesEdit() const { return m_frames; }
    QLineEdit* speedEdit() const { return m_speed; }
    QListWidget* attributesList() const { return m_attributes; }
    /// Where the curve editor goes (beside the property rows, under the timeline).
    QWidget* curveArea() const { return m_curveArea; }
    QLabel* frameReadout() const { return m_readout; }
    QToolButton* onionSkinButton() const { return m_onionSkin; }
    /// The popup with the onion skin's counts, opened by the arrow beside the switch.
    QFrame* onionSkinPopup() const { return m_onionSettings; }

    /// Connects the controls to what they drive.
    void connectTo(AnimationEditorController* controller);

    /// Fills the chooser (text = name, data = identifier) and selects current, without signals.
    void setAnimations(const QList<DocumentController::Animation>& animations, const QString& current);
    QString currentIdentifier() const;
    /// Shows a length in the frames field and on the timeline.
    void setFrames(int frames);
    void setSpeed(float speed);
    void setLooping(bool loop);
    void setPlaying(bool playing);
    /// Collapsed: the timeline alone in a low pane. Expanded: the property rows and the curve
    /// editor too, in a taller one.
    void setExpanded(bool expanded);
    bool isExpanded() const { return m_expanded; }
    /// The property rows and the curve editor show only for one joint or image selected.
    void setCurveViewShown(bool shown);
    /// Marks the rows whose curves the curve editor shows behind the current one.
    void setSecondCurves(const QStringList& names);
    OnionSkin::Settings onionSkinSettings() const;
    void setOnionSkinSettings(const OnionSkin::Settings& settings);

    /// The non-blocking "Animation Name" dialog, prefilled with proposed; done gets a confirmed
    /// non-empty name and says whether it took it. A name it refused is asked for again.
    void askAnimationName(const QString& proposed, const std::function<bool(const QString&)>& done);

Q_SIGNALS:
    void onionSkinChanged(const OnionSkin::Settings& settings);
    /// A right click on a property row.
    void secondCurveToggled(int row);
    /// Space in the editor (outside its text fields).
    void playToggleRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showFrame(int frame);
    void applyPaneHeight();

    TSDeletableComboBox* m_animations;
    QToolButton* m_add;
    QToolButton* m_copy;
    QToolButton* m_play;
    QToolButton* m_loop;
    QToolButton* m_key;
    QLineEdit* m_frames;
    QLineEdit* m_speed;
    QLabel* m_readout;
    QToolButton* m_onionSkin;
    QToolButton* m_onionSettingsButton;
    QFrame* m_onionSettings;
    QSpinBox* m_onionBefore;
    QSpinBox* m_onionAfter;
    QSpinBox* m_onionStep;
    QToolButton* m_collapse;
    QToolButton* m_extend;
    QWidget* m_spacer;
    TSAnimationEditorTimelineWidget* m_timeline;
    QListWidget* m_attributes;
    QWidget* m_curveArea;
    bool m_expanded = true;
    bool m_curveViewShown = false;
};
