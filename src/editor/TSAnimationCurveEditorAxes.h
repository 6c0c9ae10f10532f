#pragma once

#include <QRectF>
#include <QSize>

/// The coordinate system of the curve editor: time across, one cell per frame over the whole
/// width, and a value range up the plot. Keys at frame times sit on their cells' centres, where
/// the playhead is drawn, so x(f / 60) is the pixel of frame f.
///
/// Pure maths on doubles: every conversion is finite for finite input, and every loop (the grid
/// step) is bounded by construction, whatever range a curve brings.
class TSAnimationCurveEditorAxes
{
public:
    static constexpr double kFramesPerSecond = 60.0;
    /// Half of the smallest value range a refit shows.
    static constexpr double kRangeMargin = 0.1;
    static constexpr double kMinScaleY = 0.01;
    static constexpr double kMaxScaleY = 5000.0;
    static constexpr double kZoomStep = 0.9;
    static constexpr double kTopMargin = 7.0;
    static constexpr double kBottomMargin = 5.0;
    /// Pixel spacing the horizontal grid keeps between.
    static constexpr double kMinGridPixels = 15.0;
    static constexpr double kMaxGridPixels = 60.0;

    void setWidgetSize(const QSize& size);
    void setDisplayScale(double scale);
    void setFrameCount(int count);
    int frameCount() const { return m_frameCount; }
    double displayScale() const { return m_scale; }
    QSize widgetSize() const { return m_size; }

    /// Shows the values from lowest to highest, at least 2 × kRangeMargin around their middle.
    /// Values that are not finite are taken as 0.
    void refit(double lowest, double highest);
    /// Zooms the value axis by one wheel step, keeping pivot at its pixel height: a positive
    /// delta gives 0.9 × the pixels per unit, any other 1 / 0.9 ×, within [kMinScaleY, kMaxScaleY].
    void zoom(int wheelDelta, double pivot);
    /// Moves the values shown by dy pixels (positive: what is drawn moves down).
    void pan(double dy);

    QRectF plotRect() const;
    double frameWidth() const;
    double originX() const { return m_scale + frameWidth() / 2.0; }
    double originY() const { return plotRect().bottom(); }
    double tOffset() const { return 0.0; }
    double scaleX() const { return frameWidth() * kFramesPerSecond; }
    double scaleY() const { return m_scaleY; }
    double vMin() const { return m_vMin; }
    double vMax() const { return m_vMin + plotRect().height() / m_scaleY; }
    double gridStep() const { return m_gridStep; }
    /// The value at the vertical centre of the plot.
    double centreValue() const { return value(plotRect().center().y()); }

    double x(double time) const { return originX() + (time - tOffset()) * scaleX(); }
    double y(double value) const { return originY() - (value - m_vMin) * m_scaleY; }
    double time(double x) const { return (x - originX()) / scaleX() + tOffset(); }
    double value(double y) const { return (originY() - y) / m_scaleY + m_vMin; }
    /// x and y kept within a band around the widget, where painting stays exact.
    double drawableX(double time) const;
    double drawableY(double value) const;

    /// The centre pixel of frame f, where its keys and the playhead are drawn.
    double framePixel(int frame) const { return m_scale + frameWidth() * (frame + 0.5); }
    /// The frame under x, within [0, frameCount − 1].
    int frameAt(double x) const;
    static float frameTime(int frame) { return static_cast<float>(frame / kFramesPerSecond); }
    /// The frame a time shows on (time × 60 to the nearest whole number, within the int range).
    static int frameOf(double time);

    /// A value rounded to two decimals, halves away from zero (−0.125 gives −0.13).
    static double roundValue(double value);

private:
    void adaptGridStep();

    QSize m_size{1, 1};
    double m_scale = 1.0;
    int m_frameCount = 20;
    double m_vMin = -kRangeMargin;
    double m_scaleY = 1.0;
    double m_gridStep = 0.01;
};
