#pragma once

#include "bez3.h"

#include <QPointF>
#include <QRectF>

class QPainter;
class TSAnimationCurveEditorAxes;

/// One key of the edited curve as the curve editor shows it: the key, where it and its two
/// handles are drawn, which of the three is selected, and whether the handles move freely or
/// stay in line through the key.
///
/// A handle carries only a value; it is drawn a third of the way along its segment, where the
/// segment's Bézier control point lies (the segment parameter is linear in time).
class TSAnimationCurveEditorKeyItem
{
public:
    enum HandleMode
    {
        Free = 0,
        Locked = 1
    };
    enum Part
    {
        NoPart = 0,
        KeyPart,
        InHandle,
        OutHandle
    };

    /// Radius of the key and handle circles, in pixels before the display scale.
    static constexpr double kRadius = 3.5;

    explicit TSAnimationCurveEditorKeyItem(int index = 0) : m_index(index) {}

    int index() const { return m_index; }
    void setIndex(int index) { m_index = index; }
    const bez3& key() const { return m_key; }
    QPointF point() const { return QPointF(m_key.time, m_key.value); }

    /// Takes key with its neighbours (null at the ends) and places it and its handles.
    void place(const bez3& key, const bez3* previous, const bez3* next,
               const TSAnimationCurveEditorAxes& axes);

    QPointF keyPixel() const { return m_keyPixel; }
    QPointF inPixel() const { return m_inPixel; }
    QPointF outPixel() const { return m_outPixel; }
    /// A handle is shown when it lies away from the key (there is a segment on its side).
    bool hasInHandle() const { return m_inPixel != m_keyPixel; }
    bool hasOutHandle() const { return m_outPixel != m_keyPixel; }
    /// The square around the key circle.
    QRectF rect(double scale) const;

    bool isSelected(Part part) const;
    void setSelected(Part part, bool selected);
    bool isAnySelected() const { return m_keySelected || m_inSelected || m_outSelected; }
    void clearSelection() { m_keySelected = m_inSelected = m_outSelected = false; }
    /// Handles are shown (and can be picked) while the key or one of them is selected.
    bool showsHandles() const { return isAnySelected(); }

    HandleMode handleMode() const { return m_mode; }
    void setHandleMode(HandleMode mode) { m_mode = mode; }

    /// The part within tolerance pixels of pos: a shown handle before the key.
    Part hitTest(const QPointF& pos, double tolerance, double scale) const;

    /// The key with one handle at value. A locked key turns the other handle so that both stay
    /// on one line through the key, at its side's distance (which moves it by the opposite
    /// amount when the two segments are equally long).
    bez3 withHandle(Part handle, float value) const;

    void paint(QPainter& painter, double scale) const;

private:
    int m_index;
    bez3 m_key;
    double m_inSpan = 0.0;  ///< length of the segment before the key, seconds (0 for the first key)
    double m_outSpan = 0.0; ///< length of the segment after the key, seconds (0 for the last key)
    QPointF m_keyPixel;
    QPointF m_inPixel;
    QPointF m_outPixel;
    bool m_keySelected = false;
    bool m_inSelected = false;
    bool m_outSelected = false;
    HandleMode m_mode = Free;
};
