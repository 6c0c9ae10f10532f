#pragma once

#include <QImage>
#include <QRgb>

/// Brightness, contrast, hue, saturation and opacity applied to unpremultiplied pixels.
struct ColorAdjustment
{
    float brightness = 0.0f;
    float contrast = 0.0f;
    float hue = 0.0f;
    float saturation = 0.0f;
    float opacity = 1.0f;

    bool isIdentity() const
    {
        return brightness == 0.0f && contrast == 0.0f && hue == 0.0f && saturation == 0.0f && opacity == 1.0f;
    }

    /// One unpremultiplied pixel; transparent pixels come back unchanged.
    QRgb adjustPixel(QRgb pixel) const;
    /// A premultiplied ARGB32 copy of source with every pixel adjusted.
    QImage apply(const QImage& source) const;
};
