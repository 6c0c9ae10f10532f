#pragma once

#include "Pose.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class ObjectManipulator;
class QGraphicsItem;
class Skeleton;
class TSModelSpriteContainer;

/// What the fields of the object settings column show and do for the one selected joint or
/// image. While recording (the manipulator's animation mode) the transform fields show the
/// keyed values at the current time and a typed value is keyed there; otherwise they show the
/// set-up pose and a typed value changes it. Positions are in scene pixels with y up, rotations
/// in degrees counter-clockwise, as the keys store them.
///
/// Values are applied straight to the canvas records; the history records the change around
/// them (LineEditEditCommand). Nothing here needs a widget, so tests drive it directly.
class ObjectFieldEditor : public QObject
{
    Q_OBJECT

public:
    enum Field {
        Name,
        PosX,
        PosY,
        Rotation,
        ScaleX,
        ScaleY,
        AnimationSpeed,
        Hue,
        Brightness,
        Saturation,
        Contrast,
        Opacity
    };

    /// A bone colour the column offers: its name and the text QColor::setNamedColor takes.
    struct BoneColor
    {
        QString name;
        QString color;
    };
    static const QList<BoneColor>& boneColors();

    /// What becomes of typed text: the text to apply (clamped and tidied), or why it is refused.
    /// Text that is refused without a reason (not a number) is simply not taken.
    struct Check
    {
        bool accepted = false;
        QString text;
        QString refusal;
    };

    ObjectFieldEditor(Skeleton* skeleton, ObjectManipulator* manipulator, QObject* parent = nullptr);

    /// The one selected joint or image, or null.
    QGraphicsItem* target() const;
    bool isRecording() const;
    bool targetIsNode() const;
    bool targetIsImage() const;
    /// An image that plays a sprite's frames.
    bool targetIsSprite() const;
    /// The sprite container the target image plays, or null.
    TSModelSpriteContainer* targetSprite() const;
    /// The target image's id in the skeleton, or 0.
    quint64 targetImageId() const;
    /// The joint new images go to: the target joint, or the target image's joint.
    QString targetJointName() const;
    /// Whether field means anything for the target.
    bool applies(Field field) const;

    /// The text field shows for the target (empty without one).
    QString text(Field field) const;
    /// The name of the target node's bone colour in boneColors(): the one of the same colour,
    /// else the first.
    QString boneColorName() const;
    /// The target image's tags, joined with ", ".
    QString tags() const;
    /// The target image's picture as the canvas shows it.
    QImage picture() const;

    Check check(Field field, const QString& typed) const;
    /// Applies text (as check() accepts it) to the target; false when nothing was applied.
    bool apply(Field field, const QString& text);

    /// Numbers as the column shows them: six significant digits, no "-0".
    static QString number(double value);

private:
    /// The target's transform values for the transform fields, in stored units.
    Pose::Values poseValues(const QGraphicsItem* item) const;
    bool applySetupPose(QGraphicsItem* item, int index, float value);

    QPointer<Skeleton> m_skeleton;
    QPointer<ObjectManipulator> m_manipulator;
};
