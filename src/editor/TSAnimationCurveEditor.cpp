#include "TSAnimationCurveEditor.h"

#include "CurveKeysCommand.h"
#include "HistoryManager.h"
#include "KeyframeEditCommand.h"
#include "ScreenScale.h"
#include "TSAnimationCurveEditorBackground.h"
#include "TSAnimationCurveEditorDrag.h"
#include "TSAnimationCurveEditorSetKeyWidget.h"

#include <QAbstractSpinBox>
#include <QActionGroup>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

using Axes = TSAnimationCurveEditorAxes;
using KeyItem = TSAnimationCurveEditorKeyItem;

const QColor kHover(125, 159, 198);
const QColor kBandBrush(125, 159, 198, 155);
const QColor kBox(252, 254, 0, 125);

/// Pixels (before the display scale) within which a press on the curve line takes it.
constexpr double kCurveReach = 4.0;
/// Pixels within which a click on the curve adds a key.
constexpr double kAddKeyReach = 5.0;

} // namespace

TSAnimationCurveEditor::TSAnimationCurveEditor(QWidget* parent)
    : QWidget(parent), m_playhead(new QWidget(this))
{
    setObjectName(QStringLiteral("animationCurveView"));
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setMinimumSize(120, 60);
    m_ownCurves.push_back(std::make_unique<TSAnimationCurve>());
    m_curve = m_ownCurves.front().get();
    m_playhead->setObjectName(QStringLiteral("playhead"));
    m_playhead->setAttribute(Qt::WA_StyledBackground);
    m_playhead->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_playhead->setStyleSheet(QStringLiteral("background-color: rgb(255, 178, 42)"));
    m_axes.setDisplayScale(ScreenScale::of(this));
    m_axes.setWidgetSize(size());
    refit();
}

TSAnimationCurveEditor::~TSAnimationCurveEditor() = default;

// The window's calls -------------------------------------------------------------------------------

void TSAnimationCurveEditor::setCurve(TSAnimationCurve* curve)
{
    TSAnimationCurve* shown = curve ? curve : m_ownCurves.front().get();
    if (shown == m_curve) {
        refresh();
        return;
    }
    // The curve shown until now may be gone already: nothing reads it from here on.
    discardSetKeyWidget();
    m_gesture = Gesture::None;
    m_dragMode = HitNone;
    m_curve = shown;
    m_items.clear();
    refit();
}

void TSAnimationCurveEditor::addSecondCurve(const TSAnimationCurve* curve)
{
    if (curve && curve != m_curve && !m_secondCurves.contains(curve)) {
        m_secondCurves.append(curve);
        changed();
    }
}

void TSAnimationCurveEditor::clearSecondCurves()
{
    if (!m_secondCurves.isEmpty()) {
        m_secondCurves.clear();
        changed();
    }
}

void TSAnimationCurveEditor::setFrameCount(int count)
{
    m_axes.setFrameCount(count);
    refit();
}

void TSAnimationCurveEditor::setPlayheadFrame(int frame)
{
    m_currentFrame = std::max(frame, 0);
    placePlayhead();
}

int TSAnimationCurveEditor::playheadFrame() const
{
    return std::min(m_currentFrame, m_axes.frameCount() - 1);
}

void TSAnimationCurveEditor::refit()
{
    double lowest = 0.0;
    double highest = 0.0;
    bool any = false;
    for (int i = 0; i < m_curve->keyCount(); ++i) {
        const double value = m_curve->key(i).value;
        if (std::isfinite(value)) {
            lowest = any ? std::min(lowest, value) : value;
            highest = any ? std::max(highest, value) : value;
            any = true;
        }
    }
    if (!any) {
        lowest = highest = m_curve->evaluate(0.0f);
    }
    m_axes.refit(lowest, highest);
    syncItems();
    placePlayhead();
    changed();
}

void TSAnimationCurveEditor::refresh()
{
    syncItems();
    changed();
}

int TSAnimationCurveEditor::addKeyAtFrame(int frame)
{
    const float time = Axes::frameTime(frame);
    const int existing = m_curve->findKey(time, true);
    return existing >= 0 ? existing : addKey(frame, m_curve->evaluate(time));
}

int TSAnimationCurveEditor::addKey(int frame, float value)
{
    const float time = Axes::frameTime(frame);
    m_curve->insertKeyKeepingShape(value, time);
    const int index = m_curve->findKey(time, true);
    if (index >= 0 && m_items.size() + 1 == static_cast<size_t>(m_curve->keyCount())) {
        // The new key's item goes in at its place, so the others keep their modes.
        m_items.insert(m_items.begin() + index, KeyItem(index));
        for (size_t i = 0; i < m_items.size(); ++i) {
            m_items[i].setIndex(static_cast<int>(i));
        }
    }
    refresh();
    return index;
}

void TSAnimationCurveEditor::removeKeySelection()
{
    for (KeyItem& item : m_items) {
        item.clearSelection();
    }
    update();
}

QList<int> TSAnimationCurveEditor::selectedKeyIndices() const
{
    QList<int> indices;
    for (const KeyItem& item : m_items) {
        if (item.isSelected(KeyItem::KeyPart)) {
            indices.append(item.index());
        }
    }
    return indices;
}

// Keys and items -----------------------------------------------------------------------------------

std::vector<bez3> TSAnimationCurveEditor::keys() const
{
    return std::vector<bez3>(m_curve->keys(), m_curve->keys() + m_curve->keyCount());
}

void TSAnimationCurveEditor::syncItems()
{
    const int count = m_curve->keyCount();
    if (m_items.size() != static_cast<size_t>(count)) {
        m_items.clear();
        for (int i = 0; i < count; ++i) {
            m_items.emplace_back(i);
        }
    }
    const bez3* keys = m_curve->keys();
    for (int i = 0; i < count; ++i) {
        m_items[static_cast<size_t>(i)].place(keys[i], i > 0 ? &keys[i - 1] : nullptr,
                                              i + 1 < count ? &keys[i + 1] : nullptr, m_axes);
    }
}

void TSAnimationCurveEditor::changed()
{
    m_dirty = true;
    update();
}

int TSAnimationCurveEditor::selectedKeyCount() const
{
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(), [](const KeyItem& item) {
        return item.isSelected(KeyItem::KeyPart);
    }));
}

QRectF TSAnimationCurveEditor::selectionBox() const
{
    if (selectedKeyCount() < 2) {
        return QRectF();
    }
    // Around the keys with room for their circles, so that a key is never on an edge.
    double left = HUGE_VAL;
    double top = HUGE_VAL;
    double right = -HUGE_VAL;
    double bottom = -HUGE_VAL;
    for (const KeyItem& item : m_items) {
        if (item.isSelected(KeyItem::KeyPart)) {
            const QPointF p = item.keyPixel();
            left = std::min(left, p.x());
            right = std::max(right, p.x());
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
        }
    }
    const double pad = (KeyItem::kRadius + 3.0) * m_axes.displayScale();
    return QRectF(QPointF(left - pad, top - pad), QPointF(right + pad, bottom + pad));
}

bool TSAnimationCurveEditor::ownsCurve(const TSAnimationCurve* curve) const
{
    return std::any_of(m_ownCurves.begin(), m_ownCurves.end(),
                       [curve](const std::unique_ptr<TSAnimationCurve>& own) { return own.get() == curve; });
}

void TSAnimationCurveEditor::takeCustomCopy()
{
    if (m_curve->preset() == TSAnimationCurve::kCustomPreset) {
        return;
    }
    // A preset is shared: the edit goes to a copy of it, which the owner of the curve adopts.
    m_ownCurves.push_back(std::make_unique<TSAnimationCurve>(*m_curve));
    m_curve = m_ownCurves.back().get();
    m_items.clear();
    refit();
    Q_EMIT presetChanged(TSAnimationCurve::kCustomPreset);
    Q_EMIT animationCurveChanged(m_curve);
}

int TSAnimationCurveEditor::hitTest(const QPoint& at) const
{
    const QPointF pos(at);
    const double s = m_axes.displayScale();
    const double tolerance = 2.0 * s;
    const QRectF box = selectionBox();
    if (!box.isNull()) {
        int edges = HitNone;
        const bool acrossY = pos.y() >= box.top() - tolerance && pos.y() <= box.bottom() + tolerance;
        const bool acrossX = pos.x() >= box.left() - tolerance && pos.x() <= box.right() + tolerance;
        if (acrossY && std::abs(pos.x() - box.left()) <= tolerance) {
            edges |= HitBoxLeft;
        } else if (acrossY && std::abs(pos.x() - box.right()) <= tolerance) {
            edges |= HitBoxRight;
        }
        if (acrossX && std::abs(pos.y() - box.top()) <= tolerance) {
            edges |= HitBoxTop;
        } else if (acrossX && std::abs(pos.y() - box.bottom()) <= tolerance) {
            edges |= HitBoxBottom;
        }
        if (edges != HitNone) {
            return edges;
        }
    }
    // Handles before keys: a handle can only be picked while its key shows it.
    for (const KeyItem& item : m_items) {
        const KeyItem::Part part = item.hitTest(pos, tolerance, s);
        if (part == KeyItem::InHandle || part == KeyItem::OutHandle) {
            return HitHandle;
        }
    }
    for (const KeyItem& item : m_items) {
        if (item.hitTest(pos, tolerance, s) == KeyItem::KeyPart) {
            return HitKey;
        }
    }
    if (!box.isNull() && box.contains(pos)) {
        return HitBoxInside;
    }
    const double value = m_curve->evaluate(static_cast<float>(m_axes.time(pos.x())));
    if (std::isfinite(value) && std::abs(m_axes.y(value) - pos.y()) <= kCurveReach * s) {
        return HitCurve;
    }
    return HitNone;
}

// Painting -----------------------------------------------------------------------------------------

void TSAnimationCurveEditor::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (m_dirty || m_background.size() != pixels) {
        m_background = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        m_background.setDevicePixelRatio(ratio);
        QPainter cache(&m_background);
        TSAnimationCurveEditorBackground::paint(cache, m_axes, *m_curve, m_secondCurves);
        m_dirty = false;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_background);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = m_axes.displayScale();

    if (m_hoverTime > -1.0) {
        const float value = m_curve->evaluate(static_cast<float>(m_hoverTime));
        if (std::isfinite(value)) {
            painter.setPen(QPen(kHover, s));
            painter.setBrush(kHover);
            painter.drawEllipse(QPointF(m_axes.drawableX(m_hoverTime), m_axes.drawableY(value)), 3.0 * s,
                                3.0 * s);
        }
    }
    // Selected keys last, so that they are drawn over their neighbours.
    for (const bool selected : {false, true}) {
        for (const KeyItem& item : m_items) {
            if (item.isAnySelected() == selected) {
                item.paint(painter, s);
            }
        }
    }
    painter.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect());
    if (m_gesture == Gesture::Band) {
        painter.setPen(kHover);
        painter.setBrush(kBandBrush);
        painter.drawRect(m_band.normalized());
    }
    const QRectF box = selectionBox();
    if (!box.isNull()) {
        painter.setPen(kBox);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
        painter.setBrush(kBox);
        const double r = 2.5 * s;
        for (const QPointF& corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
            painter.drawRect(QRectF(corner - QPointF(r, r), QSizeF(2 * r, 2 * r)));
        }
    }
}

void TSAnimationCurveEditor::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_axes.setWidgetSize(size());
    refit();
}

void TSAnimationCurveEditor::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    const double scale = ScreenScale::of(this);
    if (scale != m_axes.displayScale()) {
        m_axes.setDisplayScale(scale);
        refit();
    }
}

void TSAnimationCurveEditor::placePlayhead()
{
    const double x = std::trunc(m_axes.framePixel(playheadFrame()));
    m_playhead->setGeometry(static_cast<int>(std::clamp(x, -1.0, width() + 1.0)), 0, 1, height());
}

// Mouse --------------------------------------------------------------------------------------------

bool TSAnimationCurveEditor::fine(Qt::KeyboardModifiers modifiers) const
{
    return m_fineMode || modifiers.testFlag(Qt::ControlModifier);
}

void TSAnimationCurveEditor::mousePressEvent(QMouseEvent* event)
{
    closeSetKeyWidget();
    Q_EMIT keyframeEdit(event->pos(), nullptr, -1);
    if (m_gesture != Gesture::None) {
        return;
    }
    if (m_panMode && event->button() == Qt::LeftButton) {
        m_gesture = Gesture::Pan;
        m_lastPos = event->pos();
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    // The stand-in shown for no curve is nobody's curve: nothing edits it.
    if ((event->button() != Qt::LeftButton && event->button() != Qt::RightButton) ||
        m_curve == m_ownCurves.front().get()) {
        return;
    }
    takeCustomCopy();
    beginPress(event);
    update();
}

void TSAnimationCurveEditor::beginPress(QMouseEvent* event)
{
    const QPoint pos = event->pos();
    const int hit = hitTest(pos);
    m_dragMode = hit;
    m_lastPos = pos;
    const bool onKey = hit == HitKey || hit == HitHandle;
    if (event->button() == Qt::RightButton) {
        if (onKey) {
            selectUnder(pos);
            for (const KeyItem& item : m_items) {
                if (item.isSelected(KeyItem::KeyPart)) {
                    showHandleMenu(item.index(), pos);
                    break;
                }
            }
        }
        m_dragMode = HitNone;
        return;
    }
    if (hit & kBoxEdges) {
        m_gesture = Gesture::BoxScale;
    } else if (onKey) {
        // A press on a key of several selected ones moves them all; on any other key or handle
        // it takes what lies under the pointer.
        bool ofSeveral = false;
        for (const KeyItem& item : m_items) {
            ofSeveral = ofSeveral || (item.isSelected(KeyItem::KeyPart) &&
                                      item.hitTest(pos, 2.0 * m_axes.displayScale(), m_axes.displayScale()) ==
                                          KeyItem::KeyPart);
        }
        if (hit == HitKey && ofSeveral && selectedKeyCount() >= 2) {
            m_dragMode = HitBoxInside;
            m_gesture = Gesture::BoxMove;
        } else {
            selectUnder(pos);
            m_gesture = hit == HitHandle ? Gesture::HandleDrag : Gesture::KeyDrag;
        }
    } else if (hit == HitBoxInside) {
        m_gesture = Gesture::BoxMove;
    } else if (hit == HitCurve) {
        m_gesture = Gesture::CurveClick;
    } else {
        m_gesture = Gesture::Band;
        m_band = QRect(pos, pos);
    }
    std::vector<bool> selected;
    for (const KeyItem& item : m_items) {
        selected.push_back(item.isSelected(KeyItem::KeyPart));
    }
    m_drag = TSAnimationCurveEditorDrag(keys(), std::move(selected), QPointF(pos));
    m_hoverTime = -1.0;
}

void TSAnimationCurveEditor::selectUnder(const QPoint& pos)
{
    const double s = m_axes.displayScale();
    std::vector<KeyItem::Part> parts;
    parts.reserve(m_items.size());
    for (const KeyItem& item : m_items) {
        parts.push_back(item.hitTest(QPointF(pos), 2.0 * s, s));
    }
    for (size_t i = 0; i < m_items.size(); ++i) {
        m_items[i].clearSelection();
        m_items[i].setSelected(parts[i], true);
    }
}

void TSAnimationCurveEditor::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->pos();
    const bool isFine = fine(event->modifiers());
    switch (m_gesture) {
    case Gesture::None:
        updateHover(pos);
        return;
    case Gesture::Pan:
        m_axes.pan(pos.y() - m_lastPos.y());
        syncItems();
        changed();
        break;
    case Gesture::Band:
        m_band.setBottomRight(pos);
        update();
        break;
    case Gesture::KeyDrag:
        applyKeys(m_drag.movedKeys(QPointF(pos), isFine, m_axes));
        break;
    case Gesture::HandleDrag:
        dragHandles(pos);
        break;
    case Gesture::BoxMove:
        applyKeys(m_drag.movedBox(QPointF(pos), isFine, m_axes));
        break;
    case Gesture::BoxScale:
        applyKeys(m_drag.scaledBox(m_dragMode & HitBoxLeft, m_dragMode & HitBoxRight, m_dragMode & HitBoxTop,
                                   m_dragMode & HitBoxBottom, QPointF(pos), isFine, m_axes));
        break;
    case Gesture::CurveClick:
        break;
    }
    m_lastPos = pos;
}

void TSAnimationCurveEditor::updateHover(const QPoint& pos)
{
    const int hit = hitTest(pos);
    setCursorFor(hit);
    const double hover = hit == HitCurve ? m_axes.time(pos.x()) : -1.0;
    if (hover != m_hoverTime) {
        m_hoverTime = hover;
        update();
    }
}

void TSAnimationCurveEditor::setCursorFor(int hit)
{
    if (m_panMode) {
        setCursor(m_gesture == Gesture::Pan ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
        return;
    }
    const bool horizontal = hit & (HitBoxLeft | HitBoxRight);
    const bool vertical = hit & (HitBoxTop | HitBoxBottom);
    if (horizontal && vertical) {
        const bool falling = (hit & HitBoxLeft) == (hit & HitBoxTop ? HitBoxLeft : 0);
        setCursor(falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
    } else if (horizontal) {
        setCursor(Qt::SizeHorCursor);
    } else if (vertical) {
        setCursor(Qt::SizeVerCursor);
    } else if (hit == HitBoxInside) {
        setCursor(Qt::SizeAllCursor);
    } else if (hit == HitKey || hit == HitHandle) {
        setCursor(Qt::PointingHandCursor);
    } else if (hit == HitCurve) {
        setCursor(Qt::CrossCursor);
    } else {
        setCursor(Qt::ArrowCursor);
    }
}

void TSAnimationCurveEditor::dragHandles(const QPoint& pos)
{
    const float value = static_cast<float>(m_axes.value(pos.y()));
    std::vector<bez3> result = keys();
    for (const KeyItem& item : m_items) {
        for (const KeyItem::Part handle : {KeyItem::InHandle, KeyItem::OutHandle}) {
            if (item.isSelected(handle) && static_cast<size_t>(item.index()) < result.size()) {
                result[static_cast<size_t>(item.index())] = item.withHandle(handle, value);
            }
        }
    }
    applyKeys(result);
}

void TSAnimationCurveEditor::applyKeys(const std::vector<bez3>& proposed)
{
    if (proposed.size() != static_cast<size_t>(m_curve->keyCount())) {
        return;
    }
    const std::vector<bez3> result = m_drag.inOrder(proposed, keys());
    for (size_t i = 0; i < result.size(); ++i) {
        const bez3& key = result[i];
        if (!TSAnimationCurve::keysEqual(key, m_curve->key(static_cast<int>(i)))) {
            m_curve->setKey(static_cast<int>(i), key.inHandle, key.time, key.value, key.outHandle);
        }
    }
    syncItems();
    changed();
}

void TSAnimationCurveEditor::mouseReleaseEvent(QMouseEvent* event)
{
    const Gesture gesture = m_gesture;
    if (gesture == Gesture::None || event->button() != Qt::LeftButton) {
        return;
    }
    m_gesture = Gesture::None;
    switch (gesture) {
    case Gesture::Band:
        m_band.setBottomRight(event->pos());
        selectInBand();
        break;
    case Gesture::CurveClick:
        addKeyOnCurve(event->pos());
        break;
    case Gesture::KeyDrag:
    case Gesture::HandleDrag:
    case Gesture::BoxMove:
    case Gesture::BoxScale:
        if (const std::vector<bez3>& before = m_drag.pressedKeys();
            before.size() == static_cast<size_t>(m_curve->keyCount()) &&
            !std::equal(before.begin(), before.end(), m_curve->keys(), TSAnimationCurve::keysEqual)) {
            recordKeyEdits(before);
            Q_EMIT animationCurveChanged(m_curve);
        }
        break;
    case Gesture::Pan:
    case Gesture::None:
        break;
    }
    m_dragMode = HitNone;
    m_band = QRect();
    setCursorFor(HitNone);
    update();
}

void TSAnimationCurveEditor::selectInBand()
{
    const QRectF band = QRectF(m_band).normalized();
    for (KeyItem& item : m_items) {
        item.clearSelection();
        item.setSelected(KeyItem::KeyPart, band.contains(item.keyPixel()));
    }
}

void TSAnimationCurveEditor::addKeyOnCurve(const QPoint& pos)
{
    const int frame = m_axes.frameAt(pos.x());
    const float time = Axes::frameTime(frame);
    const float value = m_curve->evaluate(time);
    if (!std::isfinite(value) || std::abs(m_axes.y(value) - pos.y()) > kAddKeyReach * m_axes.displayScale()) {
        return;
    }
    int index = m_curve->findKey(time, true);
    if (index < 0) {
        TSAnimationCurve added(*m_curve);
        added.insertKeyKeepingShape(value, time);
        index = added.findKey(time, true);
        m_items.insert(m_items.begin() + std::clamp<int>(index, 0, static_cast<int>(m_items.size())),
                       KeyItem());
        for (size_t i = 0; i < m_items.size(); ++i) {
            m_items[i].setIndex(static_cast<int>(i));
        }
        recordKeys(QStringLiteral("Add keyframe"),
                   QVector<bez3>(added.keys(), added.keys() + added.keyCount()));
        Q_EMIT keyframeAdded(index);
    }
    removeKeySelection();
    if (index >= 0 && static_cast<size_t>(index) < m_items.size()) {
        m_items[static_cast<size_t>(index)].setSelected(KeyItem::KeyPart, true);
    }
}

void TSAnimationCurveEditor::mouseDoubleClickEvent(QMouseEvent* event)
{
    const double s = m_axes.displayScale();
    if (event->button() == Qt::LeftButton && !m_panMode) {
        for (KeyItem& item : m_items) {
            if (item.hitTest(QPointF(event->pos()), 2.0 * s, s) == KeyItem::KeyPart) {
                m_gesture = Gesture::None;
                removeKeySelection();
                item.setSelected(KeyItem::KeyPart, true);
                Q_EMIT keyframeEdit(event->pos(), m_curve, item.index());
                openSetKeyWidget(event->pos(), item.index());
                return;
            }
        }
    }
    mousePressEvent(event);
}

void TSAnimationCurveEditor::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    const int steps = delta.y() != 0 ? delta.y() : delta.x();
    double pivot = m_axes.centreValue();
    for (const KeyItem& item : m_items) {
        if (item.isSelected(KeyItem::KeyPart)) {
            pivot = item.key().value;
            break;
        }
    }
    m_axes.zoom(steps, pivot);
    syncItems();
    changed();
    event->accept();
}

void TSAnimationCurveEditor::enterEvent(QEvent* event)
{
    QWidget::enterEvent(event);
    // Space and Control act while the pointer is over the editor, unless someone is typing.
    const QWidget* focused = QApplication::focusWidget();
    if (!m_setKeyWidget && !qobject_cast<const QLineEdit*>(focused) &&
        !qobject_cast<const QAbstractSpinBox*>(focused)) {
        setFocus(Qt::MouseFocusReason);
    }
}

void TSAnimationCurveEditor::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (m_hoverTime > -1.0) {
        m_hoverTime = -1.0;
        update();
    }
}

// Keys ---------------------------------------------------------------------------------------------

bool TSAnimationCurveEditor::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys the editor acts on are its own while it has the focus, not the window's shortcuts.
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
        case Qt::Key_Space:
        case Qt::Key_F:
            if (key->modifiers() == Qt::NoModifier) {
                event->accept();
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QWidget::event(event);
}

void TSAnimationCurveEditor::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    m_fineMode = key == Qt::Key_Control;
    switch (key) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        deleteSelectedKeys();
        break;
    case Qt::Key_Space:
        if (!event->isAutoRepeat()) {
            m_panMode = true;
            setCursorFor(HitNone);
        }
        break;
    case Qt::Key_F:
        refit();
        break;
    case Qt::Key_Control:
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TSAnimationCurveEditor::keyReleaseEvent(QKeyEvent* event)
{
    m_fineMode = false;
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        m_panMode = false;
        if (m_gesture == Gesture::Pan) {
            m_gesture = Gesture::None;
        }
        setCursorFor(HitNone);
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void TSAnimationCurveEditor::deleteSelectedKeys()
{
    const QList<int> selected = selectedKeyIndices();
    if (selected.isEmpty() || m_gesture != Gesture::None) {
        return;
    }
    QVector<bez3> remaining;
    for (int i = 0; i < m_curve->keyCount(); ++i) {
        if (!selected.contains(i)) {
            remaining.append(m_curve->key(i));
        }
    }
    for (auto it = selected.crbegin(); it != selected.crend(); ++it) {
        m_items.erase(m_items.begin() + *it);
    }
    for (size_t i = 0; i < m_items.size(); ++i) {
        m_items[i].setIndex(static_cast<int>(i));
        m_items[i].clearSelection();
    }
    recordKeys(selected.size() == 1 ? QStringLiteral("Delete keyframe")
                                    : QStringLiteral("Delete %1 keyframes").arg(selected.size()),
               remaining);
    Q_EMIT animationCurveChanged(m_curve);
}

void TSAnimationCurveEditor::showHandleMenu(int index, const QPoint& pos)
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    auto* modes = new QActionGroup(menu);
    const KeyItem::HandleMode current = m_items[static_cast<size_t>(index)].handleMode();
    for (const auto& [text, mode] : {std::pair{QStringLiteral("Free Mode"), KeyItem::Free},
                                     std::pair{QStringLiteral("Locked Mode"), KeyItem::Locked}}) {
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(current == mode);
        modes->addAction(action);
        connect(action, &QAction::triggered, this, [this, index, mode = mode] {
            if (static_cast<size_t>(index) < m_items.size()) {
                m_items[static_cast<size_t>(index)].setHandleMode(mode);
            }
        });
    }
    menu->popup(mapToGlobal(pos));
}

// The set-key form ---------------------------------------------------------------------------------

void TSAnimationCurveEditor::openSetKeyWidget(const QPoint& pos, int index)
{
    closeSetKeyWidget();
    auto* form = new TSAnimationCurveEditorSetKeyWidget(this);
    const bez3 key = m_curve->key(index);
    form->setCurve(m_curve);
    form->setKeyIndex(index);
    form->setTime(key.time);
    form->setValue(key.value);
    form->adjustSize();
    const QPoint corner(std::clamp(pos.x() + 8, 0, std::max(0, width() - form->width())),
                        std::clamp(pos.y() + 8, 0, std::max(0, height() - form->height())));
    form->move(corner);
    connect(form, &TSAnimationCurveEditorSetKeyWidget::onKeyframeChanged, this, [this, form] {
        if (form->curve() != m_curve) {
            return;
        }
        std::vector<bez3> before = keys();
        before[static_cast<size_t>(form->keyIndex())] = form->previousKey();
        syncItems();
        changed();
        recordKeyEdits(before);
        Q_EMIT animationCurveChanged(m_curve);
    });
    m_setKeyWidget = form;
    form->show();
    form->raise();
    form->valueEdit()->setFocus(Qt::OtherFocusReason);
    form->valueEdit()->selectAll();
}

TSAnimationCurveEditorSetKeyWidget* TSAnimationCurveEditor::setKeyWidget() const
{
    return m_setKeyWidget;
}

void TSAnimationCurveEditor::discardSetKeyWidget()
{
    if (m_setKeyWidget) {
        m_setKeyWidget->setCurve(nullptr);
        m_setKeyWidget->close();
    }
}

void TSAnimationCurveEditor::closeSetKeyWidget()
{
    if (m_setKeyWidget) {
        m_setKeyWidget->close();
    }
}

// History ------------------------------------------------------------------------------------------

TSAnimationCurveEditor::RecordedCurve TSAnimationCurveEditor::recorded(TSAnimationCurve* curve) const
{
    HistoryManager* history = HistoryManager::instance();
    return RecordedCurve{curve, CurveLocation::of(history, curve), history};
}

TSAnimationCurve* TSAnimationCurveEditor::resolve(const RecordedCurve& target) const
{
    if (target.location.isValid()) {
        return target.history ? target.location.resolve(target.history) : nullptr;
    }
    // A curve outside the skeleton's tracks is known to live only while it is shown or is one
    // of the editor's own.
    return target.curve == m_curve || ownsCurve(target.curve) ? target.curve : nullptr;
}

void TSAnimationCurveEditor::recordKeyEdits(const std::vector<bez3>& before)
{
    HistoryManager* history = HistoryManager::instance();
    if (!history || before.size() != static_cast<size_t>(m_curve->keyCount())) {
        return;
    }
    const RecordedCurve target = recorded(m_curve);
    history->beginMacro(HistoryManager::kEditKeyframesGroup);
    for (size_t i = 0; i < before.size(); ++i) {
        const bez3 after = m_curve->key(static_cast<int>(i));
        if (TSAnimationCurve::keysEqual(before[i], after)) {
            continue;
        }
        auto* command = new KeyframeEditCommand(static_cast<int>(i), before[i], after);
        connect(command, &KeyframeEditCommand::keyframeChanged, this,
                [this, target](int index, bez3 key) { applyKey(resolve(target), index, key); });
        history->push(command);
    }
    history->endMacro();
}

void TSAnimationCurveEditor::recordKeys(const QString& text, const QVector<bez3>& after)
{
    const QVector<bez3> before(m_curve->keys(), m_curve->keys() + m_curve->keyCount());
    m_curve->setKeys(after.constData(), after.size());
    syncItems();
    changed();
    if (HistoryManager* history = HistoryManager::instance()) {
        const RecordedCurve target = recorded(m_curve);
        auto* command = new CurveKeysCommand(text, before, after);
        connect(command, &CurveKeysCommand::keysChanged, this,
                [this, target](const QVector<bez3>& keys) { applyAllKeys(resolve(target), keys); });
        history->push(command);
    }
}

void TSAnimationCurveEditor::onKeyframeChanged(int id, bez3 key)
{
    applyKey(m_curve, id, key);
}

void TSAnimationCurveEditor::applyKey(TSAnimationCurve* curve, int index, const bez3& key)
{
    if (!curve || index < 0 || index >= curve->keyCount() ||
        TSAnimationCurve::keysEqual(curve->key(index), key)) {
        return;
    }
    curve->setKey(index, key.inHandle, key.time, key.value, key.outHandle);
    if (curve == m_curve) {
        refresh();
    }
    Q_EMIT animationCurveChanged(curve);
}

void TSAnimationCurveEditor::applyAllKeys(TSAnimationCurve* curve, const QVector<bez3>& keys)
{
    if (!curve || (keys.size() == curve->keyCount() &&
                   std::equal(keys.begin(), keys.end(), curve->keys(), TSAnimationCurve::keysEqual))) {
        return;
    }
    curve->setKeys(keys.constData(), keys.size());
    if (curve == m_curve) {
        discardSetKeyWidget();
        refresh();
    }
    Q_EMIT animationCurveChanged(curve);
}
