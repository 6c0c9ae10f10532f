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
        m_handles[i] = handle;
    }
    m_rotateCursors = rotateCursors();
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

QList<QCursor> ObjectManipulator::rotateCursors() const
{
    registerResources();
    auto render = [this](const char* path) {
        QSvgRenderer renderer(QString::fromLatin1(path));
        const int side = static_cast<int>(16 * m_screenScale);
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        if (renderer.isValid()) {
            QPainter painter(&image);
            renderer.render(&painter);
        }
        return image;
    };
    const QImage r = render(":/resources/cursors/Cursor_Rotate_16x16_Win.svg");
    const QImage r45 = render(":/resources/cursors/Cursor_Rotate_16x16_Win_45.svg");
    const QImage r135 = render(":/resources/cursors/Cursor_Rotate_16x16_Win_135.svg");
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
        item->setFlag(ItemIsSelectable, selectable);
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
    if (!target) {
        setPolygon(QPolygonF());
        return;
    }
    const QPolygonF outline = m_targets.size() == 1 ? target->mapToScene(target->boundingRect())
                                                    : QPolygonF(targetRect());
    setPolygon(outline);
    const double handle = kHandleSize * m_screenScale / m_zoom;
    const double line = kHandleLineWidth * m_screenScale / m_zoom;
    for (int i = 0; i < 4 && outline.size() >= 4; ++i) {
        const QPointF corner = outline.at(i);
        m_handles[static_cast<size_t>(i)]->setPolygon(
            QPolygonF(QRectF(corner.x() - handle / 2, corner.y() - handle / 2, handle, handle)));
        m_handles[static_cast<size_t>(i)]->setPen(QPen(Qt::transparent, 0));
        QPolygonF edge;
        edge << outline.at(i) << outline.at((i + 1) % 4);
        m_handles[static_cast<size_t>(i + 4)]->setPolygon(edge);
        m_handles[static_cast<size_t>(i + 4)]->setPen(QPen(Qt::transparent, line));
    }
    const bool showHandles = !m_bone && !isTargetLocked();
    for (QGraphicsPolygonItem* h : m_handles) {
        h->setVisible(showHandles);
    }
}

void ObjectManipulator::updateCursors()
{
    QGraphicsItem* target = primaryTarget();
    static const Qt::CursorShape resize[8] = {Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor,
                                              Qt::SizeHorCursor,   Qt::SizeFDiagCursor, Qt::SizeVerCursor,
                                              Qt::SizeBDiagCursor, Qt::SizeHorCursor};
    for (QGraphicsPolygonItem* handle : m_handles) {
        if (!target || isTargetLocked()) {
            handle->setCursor(Qt::ArrowCursor);
            continue;
        }
        const QPointF v = handle->sceneBoundingRect().center() - target->sceneBoundingRect().center();
        if (v.isNull()) {
            handle->setCursor(Qt::ArrowCursor);
            continue;
        }
        double a = std::atan2(v.y(), v.x()) * 180.0 / M_PI + 22.5 - 135.0;
        if (a < 0) {
            a += 360.0;
        }
        const int index = static_cast<int>(a / 45.0);
        if (m_operation == Rotate && m_rotateCursors.size() == 8) {
            handle->setCursor(m_rotateCursors.at((index + 6) % 8));
        } else {
            handle->setCursor(resize[(index + 2) % 8]);
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

double ObjectManipulator::mirrorSign(QGraphicsItem* item) const
{
    // Under a mirrored parent a turn on screen is the opposite turn in the item's own terms.
    QGraphicsItem* parent = item ? item->parentItem() : nullptr;
    return parent && parent->sceneTransform().determinant() < 0 ? -1.0 : 1.0;
}

void ObjectManipulator::press(QGraphicsItem* watched, const QPointF& scenePos, Qt::KeyboardModifiers modifiers)
{
    const int handle = handleIndex(watched);
    if (handle >= 0) {
        m_activeHandle = handle;
        m_operation = (modifiers & Qt::ControlModifier) ? Rotate : Scale;
    } else {
        m_activeHandle = -1;
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
    if (isTargetLocked()) {
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
    if (from.isNull() || to.isNull()) {
        return;
    }
    double angle = (std::atan2(to.y(), to.x()) - std::atan2(from.y(), from.x())) * 180.0 / M_PI;
    while (angle > 180.0) {
        angle -= 360.0;
    }
    while (angle < -180.0) {
        angle += 360.0;
    }
    // A group turns on screen (scene coordinates); a single target turns in its parent's, where
    // a mirrored parent reverses the direction.
    if (!group) {
        angle *= mirrorSign(primary);
    }
    if (modifiers & Qt::ShiftModifier) {
        angle = static_cast<double>(static_cast<int>(std::trunc(angle + 22.0)) / 45 * 45);
    }
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
    const std::optional<QTransform> scaling =
        handleScaling(primary->boundingRect(), m_activeHandle, toLocal.map(scenePos), modifiers, kMinimumScale);
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
    QList<QTransform> before;
    QList<QTransform> after;
    bool changed = false;
    for (int i = 0; i < m_targets.size(); ++i) {
        QGraphicsItem* target = m_targets.at(i);
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
    if (changed) {
        // The receivers may set the targets anew (keying poses the skeleton again): the loops go
        // through the targets of the drag, not through the list that changes under them.
        const QList<QGraphicsItem*> targets = m_targets;
        if (m_animationMode) {
            for (QGraphicsItem* target : targets) {
                if (m_operation == Move) {
                    Q_EMIT targetSetMoveKey(target);
                } else if (m_operation == Rotate) {
                    Q_EMIT targetSetRotateKey(target);
                } else if (m_operation == Scale) {
                    Q_EMIT targetSetScaleKey(target);
                }
            }
        } else {
            static const char* const actions[] = {"transform", "move", "rotate", "scale"};
            const QString action = QLatin1String(actions[m_operation >= 0 && m_operation <= 3 ? m_operation : 0]);
            Q_EMIT targetTransformed(action, targets, before, after);
            for (QGraphicsItem* target : targets) {
                Q_EMIT targetReleased(target);
            }
        }
    }
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
        press(watched, mouse->scenePos(), mouse->modifiers());
        mouse->accept();
        return true;
    }
    case QEvent::GraphicsSceneMouseMove: {
        if (!m_dragging) {
            return false;
        }
        auto* mouse = static_cast<QGraphicsSceneMouseEvent*>(event);
        drag(mouse->scenePos(), mouse->modifiers());
        return true;
    }
    case QEvent::GraphicsSceneMouseRelease:
        if (!m_dragging) {
            return false;
        }
        release();
        return true;
    default:
        return false;
    }
}

bool ObjectManipulator::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Control && !key->isAutoRepeat()) {
            const bool down = event->type() == QEvent::KeyPress;
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
