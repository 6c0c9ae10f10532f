#include "TSAnimationCurveEditorAxes.h"

#include "TimeLimits.h"

#include <algorithm>
#include <cmath>

namespace {

double finiteOr(double value, double fallback)
{
    return std::isfinite(value) ? value : fallback;
}

} // namespace

void TSAnimationCurveEditorAxes::setWidgetSize(const QSize& size)
{
    m_size = size.expandedTo(QSize(1, 1));
}

void TSAnimationCurveEditorAxes::setDisplayScale(double scale)
{
    m_scale = std::isfinite(scale) && scale > 0.0 ? scale : 1.0;
}

void TSAnimationCurveEditorAxes::setFrameCount(int count)
{
    m_frameCount = std::max(1, count);
}

QRectF TSAnimationCurveEditorAxes::plotRect() const
{
    const double height = std::max(1.0, m_size.height() - kTopMargin - kBottomMargin);
    return QRectF(0.0, kTopMargin, m_size.width(), height);
}

double TSAnimationCurveEditorAxes::frameWidth() const
{
    // A widget narrower than its frames still maps every frame to a distinct, positive width.
    return std::max(1e-3, (m_size.width() - 1.0 - 2.0 * m_scale) / m_frameCount);
}

void TSAnimationCurveEditorAxes::refit(double lowest, double highest)
{
    lowest = finiteOr(lowest, 0.0);
    highest = finiteOr(highest, 0.0);
    if (lowest > highest) {
        std::swap(lowest, highest);
    }
    const double middle = lowest / 2.0 + highest / 2.0;
    const double top = std::max(middle + kRangeMargin, highest);
    m_vMin = std::min(middle - kRangeMargin, lowest);
    const double range = top - m_vMin;
    m_scaleY = std::isfinite(range) && range > 0.0 ? plotRect().height() / range : 1.0;
    if (!(m_scaleY > 0.0) || !std::isfinite(m_scaleY)) {
        m_scaleY = 1.0;
    }
    m_gridStep = 0.01;
    adaptGridStep();
}

void TSAnimationCurveEditorAxes::zoom(int wheelDelta, double pivot)
{
    pivot = finiteOr(pivot, centreValue());
    const double pivotY = y(pivot);
    m_scaleY =
        std::clamp(wheelDelta > 0 ? m_scaleY * kZoomStep : m_scaleY / kZoomStep, kMinScaleY, kMaxScaleY);
    m_vMin = pivot - (originY() - pivotY) / m_scaleY;
    if (!std::isfinite(m_vMin)) {
        m_vMin = pivot;
    }
    adaptGridStep();
}

void TSAnimationCurveEditorAxes::pan(double dy)
{
    const double moved = m_vMin + finiteOr(dy, 0.0) / m_scaleY;
    if (std::isfinite(moved)) {
        m_vMin = moved;
    }
}

void TSAnimationCurveEditorAxes::adaptGridStep()
{
    // Halving or doubling a double more than 2100 times leaves its range, so these loops end
    // whatever the scale; the finite checks keep a step that has run out of range usable.
    constexpr int kMaxSteps = 2100;
    for (int i = 0; i < kMaxSteps && m_gridStep * m_scaleY > kMaxGridPixels && m_gridStep / 2.0 > 0.0; ++i) {
        m_gridStep /= 2.0;
    }
    for (int i = 0;
         i < kMaxSteps && m_gridStep * m_scaleY < kMinGridPixels && std::isfinite(m_gridStep * 2.0); ++i) {
        m_gridStep *= 2.0;
    }
}

double TSAnimationCurveEditorAxes::drawableX(double time) const
{
    const double band = 4.0 * std::max(m_size.width(), m_size.height());
    return std::clamp(finiteOr(x(time), -band), -band, m_size.width() + band);
}

double TSAnimationCurveEditorAxes::drawableY(double value) const
{
    const double band = 4.0 * std::max(m_size.width(), m_size.height());
    return std::clamp(finiteOr(y(value), -band), -band, m_size.height() + band);
}

int TSAnimationCurveEditorAxes::frameAt(double x) const
{
    // Frame f's cell runs from s + f × frameWidth to the next one's start.
    const double frame = std::floor((finiteOr(x, 0.0) - m_scale) / frameWidth());
    return static_cast<int>(std::clamp(frame, 0.0, m_frameCount - 1.0));
}

int TSAnimationCurveEditorAxes::frameOf(double time)
{
    return TimeLimits::nearestFrame(time * kFramesPerSecond);
}

double TSAnimationCurveEditorAxes::roundValue(double value)
{
    const double rounded = std::round(value * 100.0) / 100.0;
    return std::isfinite(rounded) ? rounded : value;
}
