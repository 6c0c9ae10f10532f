#include "ObjectFieldEditor.h"

#include "ObjectManipulator.h"
#include "PixmapPlaceholderItem.h"
#include "Skeleton.h"
#include "TSModelSpriteContainer.h"

#include <QColor>
#include <QGraphicsEllipseItem>
#include <QGraphicsPixmapItem>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

// The channel a transform field edits, and how many stored units one unit of the field is.
struct ChannelOf
{
    int index;
    double unit;
};

ChannelOf channelOf(ObjectFieldEditor::Field field)
{
    switch (field) {
    case ObjectFieldEditor::PosX:
        return {AnimatedObject::LocationX, 1.0 / AnimatedObject::kLocationUnit};
    case ObjectFieldEditor::PosY:
        return {AnimatedObject::LocationY, 1.0 / AnimatedObject::kLocationUnit};
    case ObjectFieldEditor::Rotation:
        return {AnimatedObject::Rotation, 1.0 / Pose::kDegreesPerRadian};
    case ObjectFieldEditor::ScaleX:
        return {AnimatedObject::ScaleX, 1.0};
    case ObjectFieldEditor::ScaleY:
        return {AnimatedObject::ScaleY, 1.0};
    default:
        return {-1, 1.0};
    }
}

bool isAdjustmentField(ObjectFieldEditor::Field field)
{
    return field >= ObjectFieldEditor::Hue && field <= ObjectFieldEditor::Opacity;
}

float ColorAdjustment::*adjustmentValue(ObjectFieldEditor::Field field)
{
    switch (field) {
    case ObjectFieldEditor::Hue:
        return &ColorAdjustment::hue;
    case ObjectFieldEditor::Brightness:
        return &ColorAdjustment::brightness;
    case ObjectFieldEditor::Saturation:
        return &ColorAdjustment::saturation;
    case ObjectFieldEditor::Contrast:
        return &ColorAdjustment::contrast;
    default:
        return &ColorAdjustment::opacity;
    }
}

// Sensible bounds of what may be typed: beyond them the canvas has nothing left to show.
constexpr double kMaxPosition = 100000.0;
constexpr double kMaxRotation = 36000.0;
constexpr double kMinScale = 0.001;
constexpr double kMaxScale = 1000.0;
constexpr double kMinSpeed = 0.01;
constexpr double kMaxSpeed = 100.0;

} // namespace

const QList<ObjectFieldEditor::BoneColor>& ObjectFieldEditor::boneColors()
{
    static const QList<BoneColor> colors = {
        {QStringLiteral("Gray"), QStringLiteral("Gray")},     {QStringLiteral("Red"), QStringLiteral("#e3494d")},
        {QStringLiteral("Purple"), QStringLiteral("#8976e3")}, {QStringLiteral("Blue"), QStringLiteral("#53b0ff")},
        {QStringLiteral("Aqua"), QStringLiteral("#49dbc5")},   {QStringLiteral("Green"), QStringLiteral("#4dbe77")},
        {QStringLiteral("Lime"), QStringLiteral("#a3dd51")},
    };
    return colors;
}

ObjectFieldEditor::ObjectFieldEditor(Skeleton* skeleton, ObjectManipulator* manipulator, QObject* parent)
    : QObject(parent), m_skeleton(skeleton), m_manipulator(manipulator)
{
}

QGraphicsItem* ObjectFieldEditor::target() const
{
    if (!m_skeleton || !m_manipulator || m_manipulator->targets().size() != 1) {
        return nullptr;
    }
    QGraphicsItem* item = m_manipulator->targets().first();
    // A bone stands for its joint.
    if (const Skeleton::Node* node = m_skeleton->nodeByItem(item)) {
        return node->joint;
    }
    const Skeleton::Asset* asset = m_skeleton->assetByItem(item);
    return asset ? asset->placeholder : nullptr;
}

bool ObjectFieldEditor::isRecording() const
{
    return m_manipulator && m_manipulator->animationMode();
}

bool ObjectFieldEditor::targetIsNode() const
{
    return target() && m_skeleton->nodeByItem(target());
}

bool ObjectFieldEditor::targetIsImage() const
{
    return target() && m_skeleton->assetByItem(target());
}

bool ObjectFieldEditor::targetIsSprite() const
{
    return targetSprite() != nullptr;
}

TSModelSpriteContainer* ObjectFieldEditor::targetSprite() const
{
    const Skeleton::Asset* asset = target() ? m_skeleton->assetByItem(target()) : nullptr;
    return asset ? asset->container : nullptr;
}

quint64 ObjectFieldEditor::targetImageId() const
{
    const Skeleton::Asset* asset = target() ? m_skeleton->assetByItem(target()) : nullptr;
    return asset ? asset->id : 0;
}

QString ObjectFieldEditor::targetJointName() const
{
    if (const Skeleton::Node* node = target() ? m_skeleton->nodeByItem(target()) : nullptr) {
        return node->name;
    }
    const Skeleton::Asset* asset = target() ? m_skeleton->assetByItem(target()) : nullptr;
    return asset ? asset->nodeName : QString();
}

bool ObjectFieldEditor::applies(Field field) const
{
    if (field == AnimationSpeed) {
        return targetIsSprite();
    }
    if (isAdjustmentField(field)) {
        return targetIsImage();
    }
    return target() != nullptr;
}

Pose::Values ObjectFieldEditor::poseValues(const QGraphicsItem* item) const
{
    if (isRecording()) {
        const AnimatedObject* tracks = m_skeleton->tracksOf(item, false);
        return tracks ? Pose::valuesAt(*tracks, m_skeleton->currentTime() / 1000.0f) : Pose::restValues();
    }
    // The set-up pose in the parent's coordinates: a joint's rest pose placed at its position.
    if (const Skeleton::Node* node = m_skeleton->nodeByItem(item)) {
        const QTransform local = node->restTransform * QTransform::fromTranslate(node->position.x(), node->position.y());
        return Pose::valuesOf(local, node->joint->rect().center());
    }
    const Skeleton::Asset* asset = m_skeleton->assetByItem(item);
    return Pose::valuesOf(asset->restTransform, asset->placeholder->boundingRect().center());
}

QString ObjectFieldEditor::text(Field field) const
{
    QGraphicsItem* item = target();
    if (!item || !applies(field)) {
        return QString();
    }
    const Skeleton::Node* node = m_skeleton->nodeByItem(item);
    const Skeleton::Asset* asset = m_skeleton->assetByItem(item);
    if (field == Name) {
        return node ? node->name : asset->name;
    }
    if (field == AnimationSpeed) {
        return number(static_cast<double>(asset->container->animationSpeed()));
    }
    if (isAdjustmentField(field)) {
        return number(static_cast<double>(m_skeleton->imageAdjustment(asset).*adjustmentValue(field)));
    }
    const ChannelOf channel = channelOf(field);
    return number(static_cast<double>(poseValues(item)[static_cast<size_t>(channel.index)]) / channel.unit);
}

QString ObjectFieldEditor::boneColorName() const
{
    const Skeleton::Node* node = target() ? m_skeleton->nodeByItem(target()) : nullptr;
    if (node) {
        for (const BoneColor& entry : boneColors()) {
            if (QColor(entry.color) == node->boneColor) {
                return entry.name;
            }
        }
    }
    return boneColors().first().name;
}

QString ObjectFieldEditor::tags() const
{
    const Skeleton::Asset* asset = target() ? m_skeleton->assetByItem(target()) : nullptr;
    return asset ? asset->tags.join(QStringLiteral(", ")) : QString();
}

QImage ObjectFieldEditor::picture() const
{
    const Skeleton::Asset* asset = target() ? m_skeleton->assetByItem(target()) : nullptr;
    return asset ? asset->item->pixmap().toImage() : QImage();
}

ObjectFieldEditor::Check ObjectFieldEditor::check(Field field, const QString& typed) const
{
    Check result;
    QGraphicsItem* item = target();
    if (!item || !applies(field)) {
        return result;
    }
    if (field == Name) {
        const QString name = typed.trimmed();
        const Skeleton::Node* node = m_skeleton->nodeByItem(item);
        const Skeleton::Asset* asset = m_skeleton->assetByItem(item);
        bool taken = false;
        if (node) {
            const Skeleton::Node* other = m_skeleton->nodeByName(name);
            taken = other && other != node;
        } else {
            for (const auto* list : {&m_skeleton->images(), &m_skeleton->dummyImages()}) {
                taken = taken || std::any_of(list->begin(), list->end(), [&](const auto& image) {
                            return image.get() != asset && image->name == name;
                        });
            }
        }
        if (name.isEmpty()) {
            result.refusal = QStringLiteral("A name cannot be empty.");
        } else if (taken) {
            result.refusal = (node ? QStringLiteral("A node named \"%1\" already exists.")
                                   : QStringLiteral("An image named \"%1\" already exists."))
                                 .arg(name);
        } else {
            result.accepted = true;
            result.text = name;
        }
        return result;
    }
    bool ok = false;
    double value = QLocale::c().toDouble(typed.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) {
        return result;
    }
    switch (field) {
    case PosX:
    case PosY:
        value = std::clamp(value, -kMaxPosition, kMaxPosition);
        break;
    case Rotation:
        value = std::clamp(value, -kMaxRotation, kMaxRotation);
        if (!isRecording()) {
            // A set-up pose holds a turn, not a count of turns.
            value = std::remainder(value, 360.0);
            value = value == -180.0 ? 180.0 : value;
        }
        break;
    case ScaleX:
    case ScaleY:
        value = std::copysign(std::clamp(std::abs(value), kMinScale, kMaxScale), value);
        break;
    case AnimationSpeed:
        value = std::clamp(value, kMinSpeed, kMaxSpeed);
        break;
    case Opacity:
        value = std::clamp(value, 0.0, 1.0);
        break;
    default:
        value = std::clamp(value, -1.0, 1.0);
        break;
    }
    result.accepted = true;
    result.text = number(value);
    return result;
}

bool ObjectFieldEditor::apply(Field field, const QString& text)
{
    QGraphicsItem* item = target();
    const Check checked = check(field, text);
    if (!item || !checked.accepted) {
        return false;
    }
    Skeleton::Node* node = m_skeleton->nodeByItem(item);
    Skeleton::Asset* asset = m_skeleton->assetByItem(item);
    if (field == Name) {
        node ? m_skeleton->renameNode(node, checked.text) : m_skeleton->renameImage(asset, checked.text);
        return true;
    }
    const double value = QLocale::c().toDouble(checked.text);
    if (field == AnimationSpeed) {
        asset->container->setAnimationSpeed(static_cast<float>(value));
        m_skeleton->showMoment(m_skeleton->currentTime());
        return true;
    }
    if (isAdjustmentField(field)) {
        ColorAdjustment adjustment = m_skeleton->imageAdjustment(asset);
        adjustment.*adjustmentValue(field) = static_cast<float>(value);
        m_skeleton->setImageAdjustment(asset, adjustment);
        return true;
    }
    const ChannelOf channel = channelOf(field);
    const float stored = static_cast<float>(value * channel.unit);
    if (isRecording()) {
        return m_skeleton->setKey(item, static_cast<AnimatedObject::AnimatedProperty>(channel.index), stored);
    }
    return applySetupPose(item, channel.index, stored);
}

bool ObjectFieldEditor::applySetupPose(QGraphicsItem* item, int index, float value)
{
    Pose::Values values = poseValues(item);
    values[static_cast<size_t>(index)] = value;
    if (Skeleton::Node* node = m_skeleton->nodeByItem(item)) {
        const QTransform local = Pose::transformOf(values, node->joint->rect().center());
        m_skeleton->setRestTransform(node, local * QTransform::fromTranslate(-node->position.x(), -node->position.y()));
        return true;
    }
    Skeleton::Asset* asset = m_skeleton->assetByItem(item);
    m_skeleton->setRestTransform(asset, Pose::transformOf(values, asset->placeholder->boundingRect().center()));
    return true;
}

QString ObjectFieldEditor::number(double value)
{
    return QString::number(std::abs(value) < 5e-7 ? 0.0 : value, 'g', 6);
}
