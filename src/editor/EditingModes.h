#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>

class ObjectManipulator;
class ObjectSettingsPanel;
class QAbstractButton;
class QGraphicsItem;
class QGraphicsView;
class SceneAxes;
class Skeleton;
class TSGraphicsButton;

/// The switches that decide what the canvas edits and shows:
/// - recording (the key button): drags and typed values write keys at the current frame instead
///   of changing the set-up pose; the canvas gets an orange frame meanwhile. Images cannot be
///   animated, so selecting one switches recording off (with a warning);
/// - "Animation mode": joints can be picked and dragged on the canvas;
/// - "Skeleton visibility" and "Axes visibility".
/// It also runs the hint under the object settings: a joint picked in the outliner while the
/// skeleton is hidden waits there until "Activate" shows the skeleton and selects it.
class EditingModes : public QObject
{
    Q_OBJECT

public:
    /// The dynamic property of the window that stops the assets warning until the application quits.
    static constexpr const char* kWarnedProperty = "WarnedAboutAssetsNonAnimateable";

    struct Buttons
    {
        TSGraphicsButton* axes = nullptr;
        TSGraphicsButton* skeleton = nullptr;
        TSGraphicsButton* animationMode = nullptr;
        QAbstractButton* record = nullptr;
    };

    EditingModes(QWidget* window, QGraphicsView* view, Skeleton* skeleton, ObjectManipulator* manipulator,
                 SceneAxes* axes, ObjectSettingsPanel* settings, const Buttons& buttons, QObject* parent = nullptr);

    bool isRecording() const { return m_recording; }
    /// The joint waiting for "Activate", or null.
    QGraphicsItem* pendingJoint() const;
    /// The non-modal "Animating Assets is not supported" box while it is open.
    QMessageBox* assetsWarning() const { return m_warning; }

public Q_SLOTS:
    void setRecording(bool on);
    void axesVisibilityToggled(bool on);
    void skeletonVisibilityToggled(bool on);
    void animationModeToggled(bool on);
    /// The canvas selection changed: images selected while recording end recording.
    void selectionChanged();
    /// Items made current in the outliner.
    void outlinerObjectsChanged(const QList<QGraphicsItem*>& items);
    /// The hint's "Activate": shows the skeleton and selects the waiting joint.
    void activate();
    /// A document was loaded: recording off, axes hidden, no waiting joint.
    void reset();

private:
    bool hasImages(const QList<QGraphicsItem*>& items) const;
    void warnAboutAssets();
    void hideHint();

    QWidget* m_window;
    QPointer<QGraphicsView> m_view;
    QPointer<Skeleton> m_skeleton;
    QPointer<ObjectManipulator> m_manipulator;
    QPointer<SceneAxes> m_axes;
    QPointer<ObjectSettingsPanel> m_settings;
    Buttons m_buttons;
    bool m_recording = false;
    /// The node of the waiting joint, by id: it may be deleted meanwhile.
    quint64 m_pendingNode = 0;
    QPointer<QMessageBox> m_warning;
};
