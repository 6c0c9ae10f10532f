#include "PartDrawing.h"

#include <QPainter>

#include <cmath>

namespace {

constexpr double kOutline = 2.2;

QColor scaled(const QColor& color, double factor)
{
    return QColor::fromRgbF(std::min(1.0, color.redF() * factor), std::min(1.0, color.greenF() * factor),
                            std::min(1.0, color.blueF() * factor), color.alphaF());
}

} // namespace

Tone Tone::far(double factor) const
{
    return Tone{scaled(light, factor), scaled(shade, factor), ink};
}

void PartDrawing::shape(const QPainterPath& path, const Tone& tone, QPointF shadow)
{
    m_bounds = m_bounds.united(path.boundingRect().adjusted(-kOutline, -kOutline, kOutline, kOutline));
    // The shade is what the shape does not cover of itself moved towards the light.
    const QPainterPath band = path.subtracted(path.translated(-shadow));
    m_layers.push_back([path, band, tone](QPainter& painter) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(tone.light);
        painter.drawPath(path);
        painter.setBrush(tone.shade);
        painter.drawPath(band);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(tone.ink, kOutline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(path);
    });
}

void PartDrawing::flat(const QPainterPath& path, const QColor& color)
{
    m_bounds = m_bounds.united(path.boundingRect());
    m_layers.push_back([path, color](QPainter& painter) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawPath(path);
    });
}

void PartDrawing::line(const QPainterPath& path, const QColor& color, double width)
{
    m_bounds = m_bounds.united(path.boundingRect().adjusted(-width, -width, width, width));
    m_layers.push_back([path, color, width](QPainter& painter) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(path);
    });
}

QRectF PartDrawing::area() const
{
    // Whole image pixels, so the image lands on the same grid at every size.
    const double step = 1.0 / kResolution;
    const double left = std::floor(m_bounds.left() / step) * step - step;
    const double top = std::floor(m_bounds.top() / step) * step - step;
    const double right = std::ceil(m_bounds.right() / step) * step + step;
    const double bottom = std::ceil(m_bounds.bottom() / step) * step + step;
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QImage PartDrawing::image() const
{
    const QRectF rect = area();
    QImage image(static_cast<int>(std::lround(rect.width() * kResolution)),
                 static_cast<int>(std::lround(rect.height() * kResolution)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(kResolution, kResolution);
    painter.translate(-rect.topLeft());
    for (const auto& layer : m_layers) {
        layer(painter);
    }
    return image;
}

QTransform PartDrawing::transform() const
{
    const QRectF rect = area();
    return QTransform(1.0 / kResolution, 0, 0, 1.0 / kResolution, rect.left(), rect.top());
}

QPainterPath PartDrawing::ellipse(QPointF centre, double rx, double ry)
{
    QPainterPath path;
    path.addEllipse(centre, rx, ry);
    return path;
}

QPainterPath PartDrawing::limb(QPointF from, QPointF to, double fromRadius, double toRadius)
{
    const QPointF axis = to - from;
    const double length = std::hypot(axis.x(), axis.y());
    QPainterPath path = ellipse(from, fromRadius, fromRadius).united(ellipse(to, toRadius, toRadius));
    if (length > std::abs(fromRadius - toRadius)) {
        // The sides touch both end circles.
        const QPointF u = axis / length;
        const QPointF n(-u.y(), u.x());
        const double sine = (fromRadius - toRadius) / length;
        const double cosine = std::sqrt(1.0 - sine * sine);
        const QPointF side1 = n * cosine + u * sine;
        const QPointF side2 = -n * cosine + u * sine;
        QPainterPath body;
        body.moveTo(from + side1 * fromRadius);
        body.lineTo(to + side1 * toRadius);
        body.lineTo(to + side2 * toRadius);
        body.lineTo(from + side2 * fromRadius);
        body.closeSubpath();
        path = path.united(body);
    }
    return path.simplified();
}

QPainterPath PartDrawing::roundedRect(const QRectF& rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath PartDrawing::polyline(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    bool first = true;
    for (const QPointF& point : points) {
        first ? path.moveTo(point) : path.lineTo(point);
        first = false;
    }
    return path;
}
