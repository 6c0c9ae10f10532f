#include "ObjectManipulator.h"

#include "ItemData.h"
#include "ScreenScale.h"

#include <QApplication>
#include <QGraphicsScene>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr double kHandleSize = 16.0;
constexpr double kHandleLineWidth = 5.0;
constexpr double kMinimumScale = 0.005;
// How far the hit areas of the handles reach, in handle sizes: corners and edges outward from the
// outline, and both inward (at most a quarter of the target's side, so a small target keeps a
// body to move it by).
constexpr double kCornerReach = 0.75;
constexpr double kEdgeReach = 0.5;
constexpr double kInwardReach = 0.25;
// One drag step turns by less than half a turn; past that the pointer went round the centre.
constexpr double kHalfTurn = 180.0;

bool isFinite(const QPointF& p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

// The unit vector along v, or fallback when v has no length to speak of.
QPointF unit(const QPointF& v, const QPointF& fallback)
{
    const double length = std::hypot(v.x(), v.y());
    return isFinite(v) && length > 1e-9 ? v / length : fallback;
}

// The parallelogram origin + s a + t b for s in [s0, s1] and t in [t0, t1].
QPolygonF area(const QPointF& origin, const QPointF& a, const QPointF& b, double s0, double s1, double t0, double t1)
{
    return QPolygonF({origin + s0 * a + t0 * b, origin + s1 * a + t0 * b, origin + s1 * a + t1 * b,
                      origin + s0 * a + t1 * b});
}

// angle brought into (-180, 180].
double halfTurnRange(double angle)
{
    angle = std::remainder(angle, 360.0);
    return angle <= -kHalfTurn ? angle + 360.0 : angle;
}

QGraphicsItem* itemFromData(const QGraphicsItem* item, int key)
{
    return static_cast<QGraphicsItem*>(item->data(key).value<void*>());
}

QPointF rectPoint(const QRectF& rect, int handle)
{
    switch (handle) {
    case 0:
        return rect.topLeft();
    case 1:
        return rect.topRight();
    case 2:
        return rect.bottomRight();
    case 3:
        return rect.bottomLeft();
    case 4:
        return QPointF(rect.center().x(), rect.top());
    case 5:
        return QPointF(rect.right(), rect.center().y());
    case 6:
        return QPointF(rect.center().x(), rect.bottom());
    default:
        return QPointF(rect.left(), rect.center().y());
    }
}

QTransform aboutPoint(const QPointF& point, const QTransform& change)
{
    return QTransform::fromTranslate(-point.x(), -point.y()) * change * QTransform::fromTranslate(point.x(), point.y());
}

// The scaling that carries handle of rect to point: about the opposite handle with Alt, about the
// centre otherwise; corners scale both axes (keeping the aspect ratio with Shift), edges one.
// Null when a factor would collapse.
std::optional<QTransform> handleScaling(const QRectF& rect, int handle, const QPointF& point,
                                        Qt::KeyboardModifiers modifiers, double minimum)
{
    const QPointF grabbed = rectPoint(rect, handle);
    const QPointF pivot = (modifiers & Qt::AltModifier)
                              ? rectPoint(rect, handle < 4 ? (handle + 2) % 4 : 4 + (handle - 4 + 2) % 4)
                              : rect.center();
    const bool scalesX = handle < 4 || handle == 5 || handle == 7;
    const bool scalesY = handle < 4 || handle == 4 || handle == 6;
    double sx = 1.0;
    double sy = 1.0;
    if (scalesX && grabbed.x() != pivot.x()) {
        sx = (point.x() - pivot.x()) / (grabbed.x() - pivot.x());
    }
    if (scalesY && grabbed.y() != pivot.y()) {
        sy = (point.y() - pivot.y()) / (grabbed.y() - pivot.y());
    }
    if ((modifiers & Qt::ShiftModifier) && handle < 4) {
        const QPointF diagonal = grabbed - pivot;
        const double length = QPointF::dotProduct(diagonal, diagonal);
        if (length > 0) {
            sx = sy = QPointF::dotProduct(point - pivot, diagonal) / length;
        }
    }
    if (std::abs(sx) < minimum || std::abs(sy) < minimum) {
        return std::nullopt;
    }
    return aboutPoint(pivot, QTransform::fromScale(sx, sy));
}

} // namespace

ObjectManipulator::ObjectManipulator(QGraphicsItem* parent) : QObject(nullptr), QGraphicsPolygonItem(parent)
{
    m_screenScale = ScreenScale::of(nullptr);
    setZValue(200000);
    setFlag(ItemIsFocusable, false);
    for (size_t i = 0; i < m_handles.size(); ++i) {
        auto* handle = new QGraphicsPolygonItem(this);
        handle->setPen(QPen(Qt::transparent, kHandleLineWidth));
        handle->setBrush(Qt::NoBrush);
        handle->setFlag(ItemIsFocusable);
        handle->setAcceptHoverEvents(true);
        // Where a corner and an edge meet, the corner takes the press: it scales both axes.
        handle->setZValue(i < 4 ? 1.0 : 0.0);
        m_handles[i] = handle;
    }
    m_rotateCursors = rotateCursors();
    m_resizeCursors = resizeCursors();
    hide();
    if (qApp) {
        qApp->installEventFilter(this);
    }
}

ObjectManipulator::~ObjectManipulator() = default;

// The cursors are embedded resources; registering them here lets every user of the canvas
// (tools and tests too) find them, not only the application. (Outside any namespace: the macro
// declares the registration function where it is used.)
static void registerResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(registered);
}

QImage ObjectManipulator::cursorImage(const QString& path) const
{
    registerResources();
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
        return QImage();
    }
    // 16 pixels times the screen scale, drawn at the screen's own density so that a screen with
    // a device pixel ratio neither shrinks nor blurs it.
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    const int side = std::max(1, qRound(16 * m_screenScale * ratio));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    image.setDevicePixelRatio(ratio);
    return image;
}

QList<QCursor> ObjectManipulator::resizeCursors() const
{
    // Cursor i is a double arrow along i x 45 degrees, clockwise on screen from the x axis.
    static const char* const paths[] = {
        ":/resources/cursors/Cursor_Resize_0.svg", ":/resources/cursors/Cursor_Resize_1.svg",
        ":/resources/cursors/Cursor_Resize_2.svg", ":/resources/cursors/Cursor_Resize_3.svg",
        ":/resources/cursors/Cursor_Resize_4.svg", ":/resources/cursors/Cursor_Resize_5.svg",
        ":/resources/cursors/Cursor_Resize_6.svg", ":/resources/cursors/Cursor_Resize_7.svg"};
    QList<QCursor> cursors;
    for (const char* path : paths) {
        const QImage image = cursorImage(QString::fromLatin1(path));
        cursors.append(image.isNull() ? QCursor(Qt::SizeAllCursor) : QCursor(QPixmap::fromImage(image)));
    }
    return cursors;
}

QList<QCursor> ObjectManipulator::rotateCursors() const
{
    const QImage r = cursorImage(QStringLiteral(":/resources/cursors/Cursor_Rotate_16x16_Win.svg"));
    const QImage r45 = cursorImage(QStringLiteral(":/resources/cursors/Cursor_Rotate_16x16_Win_45.svg"));
    const QImage r135 = cursorImage(QStringLiteral(":/resources/cursors/Cursor_Rotate_16x16_Win_135.svg"));
    const QImage rh = r.mirrored(true, false);
    const QImage rhv = rh.mirrored(false, true);
    const QList<QImage> images = {r, r45, rh, r135, rhv, r45.mirrored(false, true), rhv.mirrored(true, false),
                                  r135.mirrored(true, false)};
    QList<QCursor> cursors;
    for (const QImage& image : images) {
        cursors.append(image.isNull() ? QCursor(Qt::CrossCursor) : QCursor(QPixmap::fromImage(image)));
    }
    return cursors;
}

void ObjectManipulator::makeEditable(QGraphicsItem* item, bool editable, bool selectable)
{
    if (!item) {
        return;
    }
    if (editable) {
        item->setFlag(ItemIsSelectable, selectable && !isLocked(item));
        item->setFlag(ItemIsFocusable, true);
        if (item->scene() && item->scene() == scene()) {
            // Installing twice would filter every event twice.
            item->removeSceneEventFilter(this);
            item->installSceneEventFilter(this);
        }
    } else {
        item->setFlag(ItemIsSelectable, false);
        item->setFlag(ItemIsFocusable, false);
        if (item->scene() && item->scene() == scene()) {
            item->removeSceneEventFilter(this);
        }
    }
}

void ObjectManipulator::setLocked(QGraphicsItem* item, bool locked)
{
    if (!item) {
        return;
    }
    item->setData(ItemData::Locked, locked);
    // Editable items are the focusable ones (makeEditable); the others stay as they are.
    if (locked) {
        item->setFlag(ItemIsSelectable, false);
    } else if (item->flags() & ItemIsFocusable) {
        item->setFlag(ItemIsSelectable, true);
    }
}

bool ObjectManipulator::isLocked(const QGraphicsItem* item)
{
    return item && item->data(ItemData::Locked).toBool();
}

double ObjectManipulator::transformAngle(const QTransform& transform)
{
    double angle = std::atan2(transform.m12(), transform.m11()) * 180.0 / M_PI;
    if (angle < 0) {
        angle += 360.0;
    }
    return angle >= 360.0 ? angle - 360.0 : angle;
}

void ObjectManipulator::setTargets(const QList<QGraphicsItem*>& targets, bool notify, bool preferParent)
{
    for (QGraphicsPolygonItem* handle : m_handles) {
        if (handle->scene()) {
            handle->removeSceneEventFilter(this);
        }
    }
    m_bone = nullptr;
    m_targets.clear();
    m_turns.clear();
    m_dragging = false;
    m_activeHandle = -1;
    if (targets.size() == 1 && targets.first() && targets.first()->data(ItemData::IsBone).toBool()) {
        m_bone = targets.first();
        QGraphicsItem* joint = itemFromData(m_bone, ItemData::BoneJoint);
        QGraphicsItem* parentJoint = itemFromData(m_bone, ItemData::BoneParentJoint);
        QGraphicsItem* target = preferParent && parentJoint ? parentJoint : joint;
        if (target) {
            m_targets.append(target);
        }
        m_operation = Rotate;
    } else {
        for (QGraphicsItem* item : targets) {
            if (item && !m_targets.contains(item)) {
                m_targets.append(item);
            }
        }
        if (m_operation == Rotate && !m_controlDown) {
            m_operation = Move;
        }
    }
    for (QGraphicsItem* target : qAsConst(m_targets)) {
        m_turns.append(Turns{0, transformAngle(target->transform())});
    }
    if (scene()) {
        for (QGraphicsPolygonItem* handle : m_handles) {
            handle->installSceneEventFilter(this);
        }
    }
    setVisible(!m_targets.isEmpty());
    updateOutline();
    updateCursors();
    if (notify) {
        Q_EMIT targetChanged(m_targets.isEmpty());
    }
}

void ObjectManipulator::addTarget(QGraphicsItem* item)
{
    if (item && !m_targets.contains(item)) {
        QList<QGraphicsItem*> targets = m_targets;
        targets.append(item);
        setTargets(targets);
    }
}

void ObjectManipulator::removeTarget(QGraphicsItem* item)
{
    if (m_targets.contains(item)) {
        QList<QGraphicsItem*> targets = m_targets;
        targets.removeAll(item);
        setTargets(targets);
    }
}

bool ObjectManipulator::isTargetLocked() const
{
    return m_targets.size() == 1 && !(m_targets.first()->flags() & ItemIsSelectable);
}

void ObjectManipulator::setOperation(int operation)
{
    m_operation = operation;
    updateCursors();
}

double ObjectManipulator::turnCounter(int index, double angle)
{
    if (index < 0 || index >= m_turns.size()) {
        return angle;
    }
    Turns& turns = m_turns[index];
    if (turns.lastAngle >= 270.0 && angle <= 90.0) {
        ++turns.turns;
    } else if (turns.lastAngle <= 90.0 && angle >= 270.0) {
        --turns.turns;
    }
    turns.lastAngle = angle;
    return turns.turns * 360.0 + angle;
}

QRectF ObjectManipulator::targetRect() const
{
    QRectF rect;
    for (QGraphicsItem* target : m_targets) {
        rect = rect.united(target->sceneBoundingRect());
    }
    return rect;
}

void ObjectManipulator::updateOutline()
{
    prepareGeometryChange();
    QGraphicsItem* target = primaryTarget();
    QPolygonF outline;
    QPointF axisX(1, 0);
    QPointF axisY(0, 1);
    if (target && m_targets.size() == 1) {
        outline = target->mapToScene(target->boundingRect());
        const QTransform scene = target->sceneTransform();
        axisX = unit(scene.map(QPointF(1, 0)) - scene.map(QPointF(0, 0)), axisX);
        axisY = unit(scene.map(QPointF(0, 1)) - scene.map(QPointF(0, 0)), QPointF(-axisX.y(), axisX.x()));
    } else if (target) {
        outline = QPolygonF(targetRect());
    }
    // A target that cannot be drawn (collapsed to nothing, or not a number) has no outline.
    if (outline.size() < 4 || !std::all_of(outline.cbegin(), outline.cend(), [](const QPointF& p) { return isFinite(p); })) {
        outline.clear();
    }
    setPolygon(outline);
    if (outline.size() >= 4) {
        layoutHandles(outline, axisX, axisY);
    }
    const bool showHandles = target && outline.size() >= 4 && !m_bone && !isTargetLocked();
    for (QGraphicsPolygonItem* h : m_handles) {
        h->setVisible(showHandles);
    }
}

void ObjectManipulator::layoutHandles(const QPolygonF& outline, QPointF axisX, QPointF axisY)
{
    // Hit areas, in scene units so that they keep their size on screen. A corner's area lies
    // mostly outside the outline, along its two sides; an edge's area is a strip along its side.
    // Inward both reach a quarter handle at most, and no more than a quarter of the target's side,
    // so the middle of even a tiny target is left to move it.
    const double handle = kHandleSize * m_screenScale / m_zoom;
    const double width = QLineF(outline.at(0), outline.at(1)).length();
    const double height = QLineF(outline.at(0), outline.at(3)).length();
    const double insideX = std::min(kInwardReach * handle, kInwardReach * width);
    const double insideY = std::min(kInwardReach * handle, kInwardReach * height);
    const double corner = kCornerReach * handle;
    const double edge = kEdgeReach * handle;
    // Inward along the sides from each corner (top left, top right, bottom right, bottom left).
    const QPointF inwardX[4] = {axisX, -axisX, -axisX, axisX};
    const QPointF inwardY[4] = {axisY, axisY, -axisY, -axisY};
    for (size_t i = 0; i < 4; ++i) {
        m_handles[i]->setPolygon(area(outline.at(static_cast<int>(i)), inwardX[i], inwardY[i], -corner, insideX,
                                      -corner, insideY));
        m_handles[i]->setPen(Qt::NoPen);
    }
    // Edges: top (along x, inward y), right (along y, inward -x), bottom, left.
    m_handles[4]->setPolygon(area(outline.at(0), axisX, axisY, 0, width, -edge, insideY));
    m_handles[5]->setPolygon(area(outline.at(1), axisY, -axisX, 0, height, -edge, insideX));
    m_handles[6]->setPolygon(area(outline.at(2), -axisX, -axisY, 0, width, -edge, insideY));
    m_handles[7]->setPolygon(area(outline.at(3), -axisY, axisX, 0, height, -edge, insideX));
    for (size_t i = 4; i < 8; ++i) {
        m_handles[i]->setPen(Qt::NoPen);
    }
}

void ObjectManipulator::updateCursors()
{
    QGraphicsItem* target = primaryTarget();
    const QPointF centre = polygon().boundingRect().center();
    for (QGraphicsPolygonItem* handle : m_handles) {
        if (!target || isTargetLocked() || polygon().isEmpty()) {
            handle->setCursor(Qt::ArrowCursor);
            continue;
        }
        const QPointF v = handle->sceneBoundingRect().center() - centre;
        if (v.isNull() || !isFinite(v)) {
            handle->setCursor(Qt::ArrowCursor);
            continue;
        }
        double a = std::atan2(v.y(), v.x()) * 180.0 / M_PI + 22.5 - 135.0;
        if (a < 0) {
            a += 360.0;
        }
        const int index = static_cast<int>(a / 45.0) % 8;
        if (m_operation == Rotate) {
            handle->setCursor(m_rotateCursors.at((index + 6) % 8));
        } else {
            // The double arrow along the handle's direction: the resize cursor list of the
            // diagonal, vertical, diagonal and horizontal shapes (index + 2) drawn as our own.
            handle->setCursor(m_resizeCursors.at((index + 3) % 8));
        }
    }
}

int ObjectManipulator::handleIndex(const QGraphicsItem* item) const
{
    for (size_t i = 0; i < m_handles.size(); ++i) {
        if (m_handles[i] == item) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

double ObjectManipulator::mirrorSign(const QGraphicsItem* item) const
{
    // Under a mirrored parent a turn on screen is the opposite turn in the item's own terms.
    const QGraphicsItem* parent = item ? item->parentItem() : nullptr;
    return parent && parent->sceneTransform().determinant() < 0 ? -1.0 : 1.0;
}

QGraphicsItem* ObjectManipulator::jointUnder(const QPointF& scenePos) const
{
    if (!scene()) {
        return nullptr;
    }
    for (QGraphicsItem* item : scene()->items(scenePos)) {
        if (item->data(ItemData::IsJoint).toBool() && (item->flags() & ItemIsSelectable)) {
            return item;
        }
    }
    return nullptr;
}

void ObjectManipulator::press(QGraphicsItem* watched, const QPointF& scenePos, Qt::KeyboardModifiers modifiers)
{
    m_cancelled = false;
    m_releasedTurns.clear();
    const int handle = handleIndex(watched);
    if (handle >= 0) {
        m_activeHandle = handle;
        m_operation = (modifiers & Qt::ControlModifier) ? Rotate : Scale;
    } else {
        m_activeHandle = -1;
        // A bone starts at its parent's joint and ends at its own: a press on either joint is
        // meant for the joint, whichever lies above.
        if (watched->data(ItemData::IsBone).toBool()) {
            if (QGraphicsItem* joint = jointUnder(scenePos)) {
                watched = joint;
            }
        }
        if (watched->data(ItemData::IsBone).toBool()) {
            if (m_bone != watched) {
                setTargets({watched});
            }
        } else if (!m_targets.contains(watched) && (watched->flags() & ItemIsSelectable)) {
            if (modifiers & Qt::ControlModifier) {
                addTarget(watched);
            } else {
                setTargets({watched});
            }
        }
        m_operation = m_bone ? Rotate : Move;
    }
    if (m_targets.isEmpty()) {
        return;
    }
    m_pressScene = scenePos;
    m_lastScene = scenePos;
    m_lastModifiers = modifiers;
    m_lastAngle = 0.0;
    m_wholeTurns = 0;
    m_dragAngle = 0.0;
    m_pressRect = targetRect();
    m_pressTransforms.clear();
    m_pressPositions.clear();
    for (QGraphicsItem* target : qAsConst(m_targets)) {
        m_pressTransforms.append(target->transform());
        m_pressPositions.append(target->pos());
    }
    m_dragging = true;
    updateCursors();
}

void ObjectManipulator::drag(const QPointF& scenePos, Qt::KeyboardModifiers modifiers)
{
    m_lastScene = scenePos;
    m_lastModifiers = modifiers;
    if (isTargetLocked() || m_targets.isEmpty() || !isFinite(scenePos)) {
        return;
    }
    switch (m_operation) {
    case Move:
        dragMove(scenePos, modifiers);
        break;
    case Rotate:
        dragRotate(scenePos, modifiers);
        break;
    case Scale:
        dragScale(scenePos, modifiers);
        break;
    default:
        break;
    }
}

void ObjectManipulator::dragMove(const QPointF& scenePos, Qt::KeyboardModifiers modifiers)
{
    QPointF point = scenePos;
    if (modifiers & Qt::ShiftModifier) {
        const QPointF delta = scenePos - m_pressScene;
        point = std::abs(delta.x()) >= std::abs(delta.y()) ? QPointF(scenePos.x(), m_pressScene.y())
                                                           : QPointF(m_pressScene.x(), scenePos.y());
    }
    for (int i = 0; i < m_targets.size(); ++i) {
        QGraphicsItem* target = m_targets.at(i);
        if (hasTargetAncestor(target)) {
            continue;
        }
        QGraphicsItem* parent = target->parentItem();
        const QPointF delta = parent ? parent->mapFromScene(point) - parent->mapFromScene(m_pressScene)
                                     : point - m_pressScene;
        target->setPos(m_pressPositions.at(i) + delta);
    }
    updateOutline();
    Q_EMIT targetMoved(primaryTarget());
}

void ObjectManipulator::dragRotate(const QPointF& scenePos, Qt::KeyboardModifiers modifiers)
{
    QGraphicsItem* primary = primaryTarget();
    const bool group = m_targets.size() > 1;
    const QPointF centre = group ? m_pressRect.center() : primary->mapToScene(primary->boundingRect().center());
    const QPointF from = m_pressScene - centre;
    const QPointF to = scenePos - centre;
    if (from.isNull() || to.isNull() || !isFinite(centre)) {
        return;
    }
    // The pointer's angle since the press, counting the whole turns it made round the centre.
    const double pointer =
        halfTurnRange((std::atan2(to.y(), to.x()) - std::atan2(from.y(), from.x())) * 180.0 / M_PI);
    if (pointer - m_lastAngle > kHalfTurn) {
        --m_wholeTurns;
    } else if (pointer - m_lastAngle < -kHalfTurn) {
        ++m_wholeTurns;
    }
    m_lastAngle = pointer;
    double angle = pointer + 360.0 * m_wholeTurns;
    // A group turns on screen (scene coordinates); a single target turns in its parent's, where
    // a mirrored parent reverses the direction.
    if (!group) {
        angle *= mirrorSign(primary);
    }
    if (modifiers & Qt::ShiftModifier) {
        angle = static_cast<double>(static_cast<long long>(std::trunc(angle + 22.0)) / 45 * 45);
    }
    m_dragAngle = angle;
    if (group) {
        changeGroup(aboutPoint(centre, QTransform().rotate(angle)));
        updateOutline();
        Q_EMIT targetRotated(primary);
        return;
    }
    for (int i = 0; i < m_targets.size(); ++i) {
        QGraphicsItem* target = m_targets.at(i);
        const QTransform& pressed = m_pressTransforms.at(i);
        const QPointF pivot = pressed.map(target->boundingRect().center());
        target->setTransform(pressed * aboutPoint(pivot, QTransform().rotate(angle)));
    }
    updateOutline();
    Q_EMIT targetRotated(primary);
}

void ObjectManipulator::dragScale(const QPointF& scenePos, Qt::KeyboardModifiers modifiers)
{
    QGraphicsItem* primary = primaryTarget();
    if (m_activeHandle < 0) {
        return;
    }
    if (m_targets.size() > 1) {
        dragScaleGroup(scenePos, modifiers);
        return;
    }
    // Measure in the primary target's own coordinates as they were at the press.
    const QTransform pressScene = m_pressTransforms.first() * QTransform::fromTranslate(m_pressPositions.first().x(),
                                                                                        m_pressPositions.first().y()) *
                                  (primary->parentItem() ? primary->parentItem()->sceneTransform() : QTransform());
    bool invertible = false;
    const QTransform toLocal = pressScene.inverted(&invertible);
    if (!invertible) {
        return;
    }
    // The grabbed handle moves with the pointer, wherever on the handle the press was.
    const QRectF rect = primary->boundingRect();
    const QPointF moved = rectPoint(rect, m_activeHandle) + toLocal.map(scenePos) - toLocal.map(m_pressScene);
    const std::optional<QTransform> scaling = handleScaling(rect, m_activeHandle, moved, modifiers, kMinimumScale);
    if (!scaling) {
        return;
    }
    primary->setTransform(*scaling * m_pressTransforms.first());
    updateOutline();
    Q_EMIT targetScaled(primary);
}

void ObjectManipulator::dragScaleGroup(const QPointF& scenePos, Qt::KeyboardModifiers modifiers)
{
    // Measured on the outline of the group at the press, which is upright in the scene; the
    // dragged handle follows the pointer's displacement since the press.
    const QPointF moved = rectPoint(m_pressRect, m_activeHandle) + (scenePos - m_pressScene);
    const std::optional<QTransform> scaling = handleScaling(m_pressRect, m_activeHandle, moved, modifiers, kMinimumScale);
    if (!scaling) {
        return;
    }
    changeGroup(*scaling);
    updateOutline();
    Q_EMIT targetScaled(primaryTarget());
}

bool ObjectManipulator::hasTargetAncestor(const QGraphicsItem* item) const
{
    for (const QGraphicsItem* parent = item->parentItem(); parent; parent = parent->parentItem()) {
        if (std::find(m_targets.cbegin(), m_targets.cend(), parent) != m_targets.cend()) {
            return true;
        }
    }
    return false;
}

void ObjectManipulator::changeGroup(const QTransform& change)
{
    for (int i = 0; i < m_targets.size(); ++i) {
        QGraphicsItem* target = m_targets.at(i);
        if (hasTargetAncestor(target)) {
            continue;
        }
        // The scene change seen from the target's parent, around the target's position.
        const QGraphicsItem* parent = target->parentItem();
        const QTransform parentScene = parent ? parent->sceneTransform() : QTransform();
        bool invertible = false;
        const QTransform sceneToParent = parentScene.inverted(&invertible);
        if (!invertible) {
            continue;
        }
        const QPointF pos = target->pos();
        target->setTransform(m_pressTransforms.at(i) * QTransform::fromTranslate(pos.x(), pos.y()) * parentScene *
                             change * sceneToParent * QTransform::fromTranslate(-pos.x(), -pos.y()));
    }
}

void ObjectManipulator::release()
{
    m_dragging = false;
    // Keys and records may change the targets while they are reported (showing the new pose sets
    // them again): report from copies.
    const QList<QGraphicsItem*> targets = m_targets;
    const int operation = m_operation;
    QList<QTransform> before;
    QList<QTransform> after;
    bool changed = false;
    for (int i = 0; i < targets.size(); ++i) {
        QGraphicsItem* target = targets.at(i);
        // The position goes into the transform.
        const QPointF pos = target->pos();
        if (!pos.isNull()) {
            target->setPos(0, 0);
            target->setTransform(target->transform() * QTransform::fromTranslate(pos.x(), pos.y()));
        }
        const QPointF pressPos = m_pressPositions.value(i);
        before.append(m_pressTransforms.value(i) * QTransform::fromTranslate(pressPos.x(), pressPos.y()));
        after.append(target->transform());
        changed = changed || before.last() != after.last();
    }
    // Whole turns leave the transforms as they were, but not the keys.
    if (operation == Rotate && m_animationMode && std::abs(m_dragAngle) >= kHalfTurn) {
        changed = true;
    }
    if (changed) {
        if (m_animationMode) {
            if (operation == Rotate) {
                // The turn each target made in its parent's terms; one under another target
                // only followed that one.
                const bool group = targets.size() > 1;
                for (QGraphicsItem* target : targets) {
                    const double sign = group ? mirrorSign(target) : 1.0;
                    m_releasedTurns.insert(target, hasTargetAncestor(target) ? 0.0 : sign * m_dragAngle);
                }
            }
            for (QGraphicsItem* target : targets) {
                if (operation == Move) {
                    Q_EMIT targetSetMoveKey(target);
                } else if (operation == Rotate) {
                    Q_EMIT targetSetRotateKey(target);
                } else if (operation == Scale) {
                    Q_EMIT targetSetScaleKey(target);
                }
            }
            m_releasedTurns.clear();
        } else {
            static const char* const actions[] = {"transform", "move", "rotate", "scale"};
            const QString action = QLatin1String(actions[operation >= 0 && operation <= 3 ? operation : 0]);
            Q_EMIT targetTransformed(action, targets, before, after);
            for (QGraphicsItem* target : targets) {
                Q_EMIT targetReleased(target);
            }
        }
    }
    m_dragAngle = 0.0;
    m_activeHandle = -1;
    if (!m_bone && !m_controlDown) {
        m_operation = Move;
    }
    updateOutline();
    updateCursors();
}

bool ObjectManipulator::sceneEventFilter(QGraphicsItem* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::GraphicsSceneHoverEnter:
        if (watched->data(ItemData::IsBone).toBool()) {
            // The skeleton deletes a bone when its node loses its parent, hovered or not.
            if (m_hoveredBone && m_hoveredBone != watched && scene() && scene()->items().contains(m_hoveredBone)) {
                m_hoveredBone->setOpacity(0.7);
            }
            m_hoveredBone = watched;
            watched->setOpacity(1.0);
        }
        return false;
    case QEvent::GraphicsSceneHoverLeave:
        if (watched->data(ItemData::IsBone).toBool()) {
            watched->setOpacity(0.7);
            if (m_hoveredBone == watched) {
                m_hoveredBone = nullptr;
            }
        }
        return false;
    case QEvent::GraphicsSceneMousePress: {
        auto* mouse = static_cast<QGraphicsSceneMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) {
            return false;
        }
        // A locked item (or the bone of a locked joint) lets the press through to what lies under it.
        if (isLocked(watched) || (watched->data(ItemData::IsBone).toBool() &&
                                  isLocked(itemFromData(watched, ItemData::BoneJoint)))) {
            return false;
        }
        press(watched, mouse->scenePos(), mouse->modifiers());
        mouse->accept();
        return true;
    }
    case QEvent::GraphicsSceneMouseMove: {
        if (m_cancelled) {
            return true;
        }
        if (!m_dragging) {
            return false;
        }
        auto* mouse = static_cast<QGraphicsSceneMouseEvent*>(event);
        drag(mouse->scenePos(), mouse->modifiers());
        return true;
    }
    case QEvent::GraphicsSceneMouseRelease:
        if (m_cancelled) {
            m_cancelled = false;
            return true;
        }
        if (!m_dragging) {
            return false;
        }
        release();
        return true;
    default:
        return false;
    }
}

void ObjectManipulator::emitStep()
{
    QGraphicsItem* primary = primaryTarget();
    if (!primary) {
        return;
    }
    if (m_operation == Rotate) {
        Q_EMIT targetRotated(primary);
    } else if (m_operation == Scale) {
        Q_EMIT targetScaled(primary);
    } else {
        Q_EMIT targetMoved(primary);
    }
}

void ObjectManipulator::cancelDrag()
{
    if (!m_dragging) {
        return;
    }
    m_dragging = false;
    m_cancelled = true;
    for (int i = 0; i < m_targets.size() && i < m_pressTransforms.size(); ++i) {
        m_targets.at(i)->setTransform(m_pressTransforms.at(i));
        m_targets.at(i)->setPos(m_pressPositions.at(i));
    }
    m_dragAngle = 0.0;
    updateOutline();
    emitStep();
    m_activeHandle = -1;
    if (!m_bone && !m_controlDown) {
        m_operation = Move;
    }
    updateCursors();
}

bool ObjectManipulator::dragKey(QKeyEvent* event)
{
    const int key = event->key();
    const bool press = event->type() != QEvent::KeyRelease;
    if (key == Qt::Key_Shift || key == Qt::Key_Alt) {
        // The constraint applies at once: the last step again, with the keys as they are now.
        if (event->type() != QEvent::ShortcutOverride && !event->isAutoRepeat()) {
            const Qt::KeyboardModifier modifier = key == Qt::Key_Shift ? Qt::ShiftModifier : Qt::AltModifier;
            Qt::KeyboardModifiers modifiers = (m_lastModifiers & ~(Qt::ShiftModifier | Qt::AltModifier)) |
                                              (event->modifiers() & (Qt::ShiftModifier | Qt::AltModifier));
            modifiers.setFlag(modifier, press);
            drag(m_lastScene, modifiers);
        }
        return false;
    }
    if (key == Qt::Key_Control || key == Qt::Key_Meta || !press) {
        return false;
    }
    if (key == Qt::Key_Escape) {
        // Taken here, before any shortcut or widget sees it.
        if (event->type() == QEvent::KeyPress) {
            cancelDrag();
        }
        event->accept();
        return true;
    }
    // Any other key (Delete, undo, playback …) acts on the targets as the press found them.
    cancelDrag();
    return false;
}

bool ObjectManipulator::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_dragging && dragKey(key)) {
            return true;
        }
        if (type != QEvent::ShortcutOverride && key->key() == Qt::Key_Control && !key->isAutoRepeat()) {
            const bool down = type == QEvent::KeyPress;
            m_controlDown = down;
            const bool grabbed = scene() && scene()->mouseGrabberItem();
            if (!grabbed && !m_bone) {
                setOperation(down ? Rotate : Move);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void ObjectManipulator::viewZoomChanged(float zoom)
{
    m_zoom = zoom > 0 ? zoom : 1.0f;
    updateOutline();
    update();
}

void ObjectManipulator::viewZoomChanged()
{
    updateOutline();
    update();
}

void ObjectManipulator::deleteTarget()
{
    setTargets({});
}

QRectF ObjectManipulator::boundingRect() const
{
    const double margin = 8.0 * m_screenScale / m_zoom;
    return polygon().boundingRect().adjusted(-margin, -margin, margin, margin);
}

void ObjectManipulator::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    if (m_targets.isEmpty() || m_bone || polygon().size() < 4) {
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    const QColor outline(QStringLiteral("#5bd1f3"));
    painter->setOpacity(0.5);
    painter->setPen(QPen(outline, m_screenScale / m_zoom, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawPolygon(polygon());
    if (!isTargetLocked()) {
        painter->setOpacity(1.0);
        const double size = 7.0 * m_screenScale / m_zoom;
        painter->setPen(QPen(outline, 1.0 / m_zoom));
        painter->setBrush(QColor(QStringLiteral("#202020")));
        for (int i = 0; i < 4; ++i) {
            const QPointF corner = polygon().at(i);
            painter->drawRect(QRectF(corner.x() - size / 2, corner.y() - size / 2, size, size));
        }
    }
    painter->restore();
}
