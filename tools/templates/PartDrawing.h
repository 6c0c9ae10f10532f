#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QTransform>

#include <functional>
#include <vector>

/// The colours of one material: the lit side, the side in shadow and the outline.
struct Tone
{
    QColor light;
    QColor shade;
    QColor ink;

    /// The same material turned away from the light, for limbs on the far side of a body.
    Tone far(double factor = 0.8) const;
};

/// The placeholder image of one template part, drawn in the node's own coordinates (display
/// pixels, y down, the joint at the origin) and rasterised at twice that size so it stays sharp
/// when the canvas is zoomed in or the screen is scaled.
class PartDrawing
{
public:
    static constexpr double kResolution = 2.0;

    /// A shape lit from the upper left: the lit tone, a band of shade along the lower right
    /// edge (shadow is the offset of that band), and an outline.
    void shape(const QPainterPath& path, const Tone& tone, QPointF shadow = QPointF(3.5, 3.0));
    /// Detail painted without an outline (eyes, seams, soles).
    void flat(const QPainterPath& path, const QColor& color);
    /// An open stroke with round ends (brows, mouths, creases).
    void line(const QPainterPath& path, const QColor& color, double width);

    QImage image() const;
    /// Places the image in the node's coordinates.
    QTransform transform() const;

    // Shapes in node coordinates.
    static QPainterPath ellipse(QPointF centre, double rx, double ry);
    /// A tapered capsule from one joint to the next with the given end radii.
    static QPainterPath limb(QPointF from, QPointF to, double fromRadius, double toRadius);
    static QPainterPath roundedRect(const QRectF& rect, double radius);
    static QPainterPath polyline(std::initializer_list<QPointF> points);

private:
    QRectF area() const;

    std::vector<std::function<void(QPainter&)>> m_layers;
    QRectF m_bounds;
};
