#pragma once

#include <QList>

class TSAnimationCurve;

/// The calls the animation editor makes into the curve editor beside its property rows: what
/// to show (the current row's curve, the row's second curves, the frames and the time range),
/// where the playhead is, and keys added there. The editor reaches the curve editor only through
/// this interface.
class AnimationCurveEditorInterface
{
public:
    virtual ~AnimationCurveEditorInterface() = default;

    virtual void setCurve(TSAnimationCurve* curve) = 0;
    virtual void addSecondCurve(TSAnimationCurve* curve) = 0;
    virtual void clearSecondCurves() = 0;
    virtual void setValueScale(double scale) = 0;
    virtual void setFrameCount(int frames) = 0;
    virtual void setPlayheadFrame(int frame) = 0;
    /// The right end of the time axis, seconds.
    virtual void setMaxTime(float seconds) = 0;
    /// Fits the view to the curve, the frames and the size.
    virtual void refit() = 0;
    /// Rebuilds the keys shown from the curve and repaints.
    virtual void refresh() = 0;
    virtual void addKeyAtFrame(int frame) = 0;
    virtual void addKey(int frame, float value) = 0;
    /// Lets go of the picked keys.
    virtual void removeKeySelection() = 0;
    /// Indices of the picked keys, ascending.
    virtual QList<int> selectedKeyIndices() const = 0;
    virtual TSAnimationCurve* currentCurve() const = 0;
};
