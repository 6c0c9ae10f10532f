#pragma once

#include <QCursor>
#include <QGraphicsPolygonItem>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QSet>
#include <QTransform>

#include <array>

class QKeyEvent;

/// The selection outline of the canvas: holds the current targets (joints, bones, images), draws
/// their outline with corner handles, and turns drags into moves, rotations (Ctrl on a handle)
/// and scalings (a handle). Each drag step is reported, and the end of a drag is reported as
/// keys to set (animation mode) or as a transform change for the undo history (setup mode).
/// Escape during a drag puts the targets back where the press found them and records nothing.
///
/// Several targets change together in scene coordinates: each keeps its own parent, and each
/// step applies the group's change to every target from its transform at the press.
class ObjectManipulator : public QObject, public QGraphicsPolygonItem
{
    Q_OBJECT

public:
    enum Operation { NoOperation = 0, Move = 1, Rotate = 2, Scale = 3 };

    explicit ObjectManipulator(QGraphicsItem* parent = nullptr);
    ~ObjectManipulator() override;

    /// Makes items the targets. A single bone target swings its joint (or, with preferParent,
    /// the parent joint). notify emits targetChanged().
    void setTargets(const QList<QGraphicsItem*>& targets, bool notify = true, bool preferParent = false);
    void addTarget(QGraphicsItem* item);
    void removeTarget(QGraphicsItem* item);
    QList<QGraphicsItem*> targets() const { return m_targets; }
    bool hasTargets() const { return !m_targets.isEmpty(); }
    /// One target that cannot be selected: outline without handles, arrow cursors only.
    bool isTargetLocked() const;
    /// The bone a single bone target was chosen through, or null.
    QGraphicsItem* boneTarget() const { return m_bone; }

    bool animationMode() const { return m_animationMode; }
    void setAnimationMode(bool on) { m_animationMode = on; }
    int operation() const { return m_operation; }
    void setOperation(int operation);
    float zoom() const { return m_zoom; }

    /// Counts whole turns of target index's angle (degrees in [0, 360)) across 0/360.
    double turnCounter(int index, double angle);
    /// While the keys of a finished rotate drag are being set: the turn in degrees, whole turns
    /// included, that the drag gave target in its parent's terms; 0 for any other item or time.
    double releasedTurn(const QGraphicsItem* target) const { return m_releasedTurns.value(target, 0.0); }

    /// Makes items draggable through the manipulator (or stops it). A locked item stays
    /// unselectable while it is locked.
    void makeEditable(QGraphicsItem* item, bool editable, bool selectable = true);
    /// Locks an item against being picked on the canvas (or unlocks it). An unlocked item is
    /// selectable again when it is editable.
    static void setLocked(QGraphicsItem* item, bool locked);
    static bool isLocked(const QGraphicsItem* item);
    /// The angle of an item's transform in degrees, in [0, 360).
    static double transformAngle(const QTransform& transform);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

public Q_SLOTS:
    void viewZoomChanged(float zoom);
    void viewZoomChanged();
    void deleteTarget();

Q_SIGNALS:
    void targetChanged(bool isEmptyTarget);
    void targetMoved(QGraphicsItem* target);
    void targetTransformed(QString action, QList<QGraphicsItem*> targets, QList<QTransform> sourceTransform,
                           QList<QTransform> destinationTransform);
    void targetScaled(QGraphicsItem* target);
    void targetRotated(QGraphicsItem* target);
    void targetSetMoveKey(QGraphicsItem* target);
    void targetSetScaleKey(QGraphicsItem* target);
    void targetSetRotateKey(QGraphicsItem* target);
    /// A setup-mode drag of target ended: its new transform is its set-up pose.
    void targetReleased(QGraphicsItem* target);

protected:
    bool sceneEventFilter(QGraphicsItem* watched, QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Turns
    {
        int turns = 0;
        double lastAngle = 0.0;
    };

    QGraphicsItem* primaryTarget() const { return m_targets.isEmpty() ? nullptr : m_targets.first(); }
    QRectF targetRect() const;
    void updateOutline();
    /// Lays the hit areas of the handles around outline, whose sides run along axisX (corner 0
    /// to 1) and axisY (corner 0 to 3).
    void layoutHandles(const QPolygonF& outline, QPointF axisX, QPointF axisY);
    void updateCursors();
    void press(QGraphicsItem* watched, const QPointF& scenePos, Qt::KeyboardModifiers modifiers);
    void drag(const QPointF& scenePos, Qt::KeyboardModifiers modifiers);
    void release();
    /// Ends a drag without a trace: the targets go back to where the press found them.
    void cancelDrag();
    /// Handles the keys that act during a drag; true when the key is used up.
    bool dragKey(QKeyEvent* event);
    void emitStep();
    /// The selectable joint under scenePos that a press on a bone was aimed at, or null.
    QGraphicsItem* jointUnder(const QPointF& scenePos) const;
    void dragMove(const QPointF& scenePos, Qt::KeyboardModifiers modifiers);
    void dragRotate(const QPointF& scenePos, Qt::KeyboardModifiers modifiers);
    void dragScale(const QPointF& scenePos, Qt::KeyboardModifiers modifiers);
    void dragScaleGroup(const QPointF& scenePos, Qt::KeyboardModifiers modifiers);
    int handleIndex(const QGraphicsItem* item) const;
    double mirrorSign(const QGraphicsItem* item) const;
    /// Several targets change as one group: change (in scene coordinates) applies to each target
    /// from its transform at the press. A target under another target follows that one.
    void changeGroup(const QTransform& change);
    bool hasTargetAncestor(const QGraphicsItem* item) const;
    QList<QCursor> rotateCursors() const;
    QList<QCursor> resizeCursors() const;
    QImage cursorImage(const QString& path) const;

    double m_screenScale = 1.0;
    float m_zoom = 1.0f;
    int m_operation = NoOperation;
    bool m_animationMode = false;
    bool m_dragging = false;
    /// After Escape, the rest of the drag's mouse events are used up without effect.
    bool m_cancelled = false;
    bool m_controlDown = false;
    std::array<QGraphicsPolygonItem*, 8> m_handles{};
    int m_activeHandle = -1;
    QGraphicsItem* m_bone = nullptr;
    QGraphicsItem* m_hoveredBone = nullptr;
    QList<QGraphicsItem*> m_targets;
    QList<QTransform> m_pressTransforms;
    QList<QPointF> m_pressPositions;
    QPointF m_pressScene;
    /// The outline of several targets at the press (scene coordinates).
    QRectF m_pressRect;
    /// Where the pointer and the modifiers were at the last drag step, for replaying it.
    QPointF m_lastScene;
    Qt::KeyboardModifiers m_lastModifiers;
    /// The pointer's angle about the turn's centre at the last step (degrees in (-180, 180]) and
    /// the whole turns it made since the press.
    double m_lastAngle = 0.0;
    int m_wholeTurns = 0;
    /// The turn of the drag so far, in scene terms (degrees).
    double m_dragAngle = 0.0;
    QList<Turns> m_turns;
    QList<QCursor> m_rotateCursors;
    QList<QCursor> m_resizeCursors;
    QHash<const QGraphicsItem*, double> m_releasedTurns;
};
