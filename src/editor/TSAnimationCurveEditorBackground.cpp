#include "TSAnimationCurveEditorBackground.h"

#include "TSAnimationCurve.h"
#include "TSAnimationCurveEditorAxes.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QColor kBackground(30, 30, 30);
const QColor kGrid(38, 38, 38);
const QColor kSecondCurve(83, 83, 83);
const QColor kCurve(55, 235, 138);

/// Grid lines closer than this many pixels are thinned out.
constexpr double kMinLineSpacing = 3.0;
/// No more horizontal grid lines than this, whatever the step has come to.
constexpr int kMaxValueLines = 1000;

} // namespace

void TSAnimationCurveEditorBackground::paint(QPainter& painter, const TSAnimationCurveEditorAxes& axes,
                                             const TSAnimationCurve& curve,
                                             const QList<const TSAnimationCurve*>& secondCurves)
{
    const QRectF area(QPointF(0, 0), QSizeF(axes.widgetSize()));
    const double s = axes.displayScale();
    painter.fillRect(area, kBackground);
    paintGrid(painter, axes);

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
    painter.setClipRect(area);

    for (const TSAnimationCurve* second : secondCurves) {
        if (!second) {
            continue;
        }
        painter.setPen(QPen(kSecondCurve, 2.0 * s));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(curvePath(*second, axes));
        for (int i = 0; i < second->keyCount(); ++i) {
            const bez3 key = second->key(i);
            painter.drawEllipse(QPointF(axes.drawableX(key.time), axes.drawableY(key.value)), 3.0 * s,
                                3.0 * s);
        }
    }
    if (curve.keyCount() == 0) {
        const double y = axes.drawableY(curve.evaluate(0.0f));
        painter.setPen(QPen(Qt::gray, 2.0 * s));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    } else {
        painter.setPen(QPen(kCurve, 2.0 * s));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(curvePath(curve, axes));
    }
    painter.setClipping(false);
}

void TSAnimationCurveEditorBackground::paintGrid(QPainter& painter, const TSAnimationCurveEditorAxes& axes)
{
    const double width = axes.widgetSize().width();
    const double height = axes.widgetSize().height();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(kGrid);

    // One line per frame cell; of thousands of frames on a narrow widget, every n-th.
    const double cell = axes.frameWidth();
    const int every = static_cast<int>(std::ceil(kMinLineSpacing / cell));
    for (int frame = 0; frame <= axes.frameCount(); frame += every) {
        const double x = std::round(axes.displayScale() + frame * cell);
        painter.drawLine(QPointF(x, 0), QPointF(x, height));
    }

    // Value lines every grid step, from the first multiple of the step at the top down. The
    // count is fixed before the loop, so a step lost in the precision of huge values cannot
    // keep it going.
    const double step = axes.gridStep();
    const double pixels = step * axes.scaleY();
    if (!(step > 0.0) || !std::isfinite(pixels) || pixels <= 0.0) {
        return;
    }
    const double first = std::floor(axes.value(0.0) / step) * step;
    const int lines = static_cast<int>(std::min<double>(kMaxValueLines, std::ceil(height / pixels) + 2.0));
    for (int i = 0; i < lines; ++i) {
        const double y = std::round(axes.y(first - i * step));
        if (std::isfinite(y) && y >= 0.0 && y <= height) {
            painter.drawLine(QPointF(0, y), QPointF(width, y));
        }
    }
}

QPainterPath TSAnimationCurveEditorBackground::curvePath(const TSAnimationCurve& curve,
                                                         const TSAnimationCurveEditorAxes& axes)
{
    QPainterPath path;
    const int count = curve.keyCount();
    if (count == 0) {
        return path;
    }
    const double width = axes.widgetSize().width();
    bool drawing = false;
    auto add = [&](double x, double value) {
        if (!std::isfinite(value)) {
            drawing = false;
            return;
        }
        const QPointF point(std::clamp(x, -width, 2.0 * width), axes.drawableY(value));
        if (drawing) {
            path.lineTo(point);
        } else {
            path.moveTo(point);
            drawing = true;
        }
    };
    const bez3* keys = curve.keys();
    add(0.0, keys[0].value);
    add(axes.drawableX(keys[0].time), keys[0].value);
    for (int i = 0; i + 1 < count; ++i) {
        const bez3& k0 = keys[i];
        const bez3& k1 = keys[i + 1];
        const double x0 = axes.x(k0.time);
        const double x1 = axes.x(k1.time);
        if (k1.time > k0.time && std::isfinite(x0) && std::isfinite(x1)) {
            // Only the pixels in view are sampled, one per pixel.
            const double from = std::max(std::floor(x0) + 1.0, -1.0);
            const double to = std::min(x1, width + 1.0);
            for (double x = from; x < to; x += 1.0) {
                add(x, TSAnimationCurve::segmentValue(k0, k1, static_cast<float>(axes.time(x))));
            }
        }
        add(axes.drawableX(k1.time), k1.value);
    }
    add(width, keys[count - 1].value);
    return path;
}
