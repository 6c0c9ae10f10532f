#pragma once

#include <QCursor>
#include <QGraphicsPolygonItem>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QSet>
#include <QTransform>

#include <array>

/// The selection outline of the canvas: holds the current targets (joints, bones, images), draws
/// their outline with corner handles, and turns drags into moves, rotations (Ctrl on a handle)
/// and scalings (a handle). Each drag step is reported, and the end of a drag is reported as
/// keys to set (animation mode) or as a transform change for the undo history (setup mode).
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

    /// Makes items draggable through the manipulator (or stops it).
    void makeEditable(QGraphicsItem* item, bool editable, bool selectable = true);
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
    void updateCursors();
    void press(QGraphicsItem* watched, const QPointF& scenePos, Qt::KeyboardModifiers modifiers);
    void drag(const QPointF& scenePos, Qt::KeyboardModifiers modifiers);
    void release();
    void dragMove(const QPointF& scenePos, Qt::KeyboardModifiers modifiers);
    void dragRotate(const QPointF& scenePos, Qt::KeyboardModifiers modifiers);
    void dragScale(const QPointF& scenePos, Qt::KeyboardModifiers modifiers);
    void dragScaleGroup(const QPointF& scenePos, Qt::KeyboardModifiers modifiers);
    int handleIndex(const QGraphicsItem* item) const;
    double mirrorSign(QGraphicsItem* item) const;
    /// Several targets change as one group: change (in scene coordinates) applies to each target
    /// from its transform at the press. A target under another target follows that one.
    void changeGroup(const QTransform& change);
    bool hasTargetAncestor(const QGraphicsItem* item) const;
    QList<QCursor> rotateCursors() const;

    double m_screenScale = 1.0;
    float m_zoom = 1.0f;
    int m_operation = NoOperation;
    bool m_animationMode = false;
    bool m_dragging = false;
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
    QList<Turns> m_turns;
    QList<QCursor> m_rotateCursors;
};
