#pragma once

#include <QList>
#include <QPainterPath>

class QPainter;
class TSAnimationCurve;
class TSAnimationCurveEditorAxes;

/// What the curve editor caches between edits: the frame and value grid, the second curves in
/// grey with their keys marked, the edited curve in green, and a flat grey line for a curve
/// without keys. The work is bounded by the widget's size and the number of keys, whatever the
/// curves hold (keys out of order, at equal times, far out of view).
class TSAnimationCurveEditorBackground
{
public:
    static void paint(QPainter& painter, const TSAnimationCurveEditorAxes& axes,
                      const TSAnimationCurve& curve, const QList<const TSAnimationCurve*>& secondCurves);

    /// The curve across the widget: flat from the left edge to the first key, sampled once per
    /// pixel between keys, flat from the last key to the right edge. Empty without keys.
    static QPainterPath curvePath(const TSAnimationCurve& curve, const TSAnimationCurveEditorAxes& axes);

private:
    static void paintGrid(QPainter& painter, const TSAnimationCurveEditorAxes& axes);
};
