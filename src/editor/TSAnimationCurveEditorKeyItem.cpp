#include "TSAnimationCurveEditorKeyItem.h"

#include "TSAnimationCurveEditorAxes.h"

#include <QLineF>
#include <QPainter>

#include <cmath>

namespace {

const QColor kKeyColour(55, 235, 138);
const QColor kHandleColour(255, 179, 0);
const QColor kUnselectedFill(50, 50, 50);

double span(const bez3* from, const bez3* to)
{
    const double length = from && to ? static_cast<double>(to->time) - from->time : 0.0;
    return std::isfinite(length) && length > 0.0 ? length : 0.0;
}

} // namespace

void TSAnimationCurveEditorKeyItem::place(const bez3& key, const bez3* previous, const bez3* next,
                                          const TSAnimationCurveEditorAxes& axes)
{
    m_key = key;
    m_inSpan = span(previous, &key);
    m_outSpan = span(&key, next);
    m_keyPixel = QPointF(axes.drawableX(key.time), axes.drawableY(key.value));
    m_inPixel = m_inSpan > 0.0
                    ? QPointF(axes.drawableX(key.time - m_inSpan / 3.0), axes.drawableY(key.inHandle))
                    : m_keyPixel;
    m_outPixel = m_outSpan > 0.0
                     ? QPointF(axes.drawableX(key.time + m_outSpan / 3.0), axes.drawableY(key.outHandle))
                     : m_keyPixel;
}

QRectF TSAnimationCurveEditorKeyItem::rect(double scale) const
{
    const double r = kRadius * scale;
    return QRectF(m_keyPixel - QPointF(r, r), QSizeF(2 * r, 2 * r));
}

bool TSAnimationCurveEditorKeyItem::isSelected(Part part) const
{
    switch (part) {
    case KeyPart:
        return m_keySelected;
    case InHandle:
        return m_inSelected;
    case OutHandle:
        return m_outSelected;
    case NoPart:
        break;
    }
    return false;
}

void TSAnimationCurveEditorKeyItem::setSelected(Part part, bool selected)
{
    switch (part) {
    case KeyPart:
        m_keySelected = selected;
        break;
    case InHandle:
        m_inSelected = selected;
        break;
    case OutHandle:
        m_outSelected = selected;
        break;
    case NoPart:
        break;
    }
}

TSAnimationCurveEditorKeyItem::Part
TSAnimationCurveEditorKeyItem::hitTest(const QPointF& pos, double tolerance, double scale) const
{
    const double reach = kRadius * scale + tolerance;
    auto near = [&](const QPointF& centre) { return QLineF(centre, pos).length() <= reach; };
    if (showsHandles()) {
        if (hasInHandle() && near(m_inPixel)) {
            return InHandle;
        }
        if (hasOutHandle() && near(m_outPixel)) {
            return OutHandle;
        }
    }
    return near(m_keyPixel) ? KeyPart : NoPart;
}

bez3 TSAnimationCurveEditorKeyItem::withHandle(Part handle, float value) const
{
    bez3 key = m_key;
    if (handle != InHandle && handle != OutHandle) {
        return key;
    }
    (handle == InHandle ? key.inHandle : key.outHandle) = value;
    if (m_mode == Locked && m_inSpan > 0.0 && m_outSpan > 0.0) {
        // Same slope on both sides: (value − in) / inSpan = (out − value) / outSpan.
        if (handle == InHandle) {
            key.outHandle =
                static_cast<float>(key.value + (key.value - key.inHandle) * (m_outSpan / m_inSpan));
        } else {
            key.inHandle =
                static_cast<float>(key.value - (key.outHandle - key.value) * (m_inSpan / m_outSpan));
        }
    }
    return key;
}

void TSAnimationCurveEditorKeyItem::paint(QPainter& painter, double scale) const
{
    const double r = kRadius * scale;
    if (showsHandles()) {
        auto drawHandle = [&](const QPointF& at, bool selected) {
            painter.setPen(QPen(kHandleColour, scale));
            painter.setBrush(Qt::NoBrush);
            painter.drawLine(m_keyPixel, at);
            painter.setBrush(selected ? kHandleColour : kUnselectedFill);
            painter.drawEllipse(at, r, r);
        };
        if (hasInHandle()) {
            drawHandle(m_inPixel, m_inSelected);
        }
        if (hasOutHandle()) {
            drawHandle(m_outPixel, m_outSelected);
        }
    }
    painter.setPen(QPen(kKeyColour, 2.0 * scale));
    painter.setBrush(m_keySelected ? kKeyColour : kUnselectedFill);
    painter.drawEllipse(m_keyPixel, r, r);
}
