#include "ColorAdjustment.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

int clampChannel(float value)
{
    // Truncated toward zero after clamping, like an integer conversion of the clamped value.
    return static_cast<int>(std::clamp(value, 0.0f, 255.0f));
}

float hueToChannel(float p, float q, float t)
{
    if (t < 0.0f) {
        t += 1.0f;
    }
    if (t > 1.0f) {
        t -= 1.0f;
    }
    if (t < 1.0f / 6.0f) {
        return p + (q - p) * 6.0f * t;
    }
    if (t < 0.5f) {
        return q;
    }
    if (t < 2.0f / 3.0f) {
        return p + (q - p) * (2.0f / 3.0f - t) * 6.0f;
    }
    return p;
}

void adjustHueSaturation(int& red, int& green, int& blue, float hueShift, float saturationScale)
{
    const float r = red / 255.0f;
    const float g = green / 255.0f;
    const float b = blue / 255.0f;
    const float max = std::max({r, g, b});
    const float min = std::min({r, g, b});
    const float d = max - min;
    const float l = (max + min) / 2.0f;
    float h = 0.0f;
    float s = 0.0f;
    if (d != 0.0f) {
        s = l < 0.5f ? d / (max + min) : d / (2.0f - max - min);
        if (max == r) {
            h = ((g - b) / d + (b > g ? 6.0f : 0.0f)) / 6.0f;
        } else if (max == g) {
            h = ((b - r) / d + 2.0f) / 6.0f;
        } else {
            h = ((r - g) / d + 4.0f) / 6.0f;
        }
    }
    h += hueShift;
    s *= 1.0f + saturationScale;
    if (s == 0.0f) {
        red = green = blue = clampChannel(l * 255.0f);
        return;
    }
    const float q = l < 0.5f ? l * (1.0f + s) : l + s - l * s;
    const float p = 2.0f * l - q;
    red = clampChannel(hueToChannel(p, q, h + 1.0f / 3.0f) * 255.0f);
    green = clampChannel(hueToChannel(p, q, h) * 255.0f);
    blue = clampChannel(hueToChannel(p, q, h - 1.0f / 3.0f) * 255.0f);
}

} // namespace

// The per-pixel steps with brightness and contrast folded into one table: both depend on the
// channel value alone.
class ColorAdjustmentPass
{
public:
    explicit ColorAdjustmentPass(const ColorAdjustment& adjustment) : m_adjustment(adjustment)
    {
        for (int c = 0; c < 256; ++c) {
            int value = c;
            if (adjustment.brightness != 0.0f) {
                value = clampChannel(value + (255 - value) * adjustment.brightness);
            }
            if (adjustment.contrast != 0.0f) {
                value = clampChannel(value * (1.0f + adjustment.contrast));
            }
            m_table[static_cast<size_t>(c)] = static_cast<uint8_t>(value);
        }
        m_hueSaturation = adjustment.hue != 0.0f || adjustment.saturation != 0.0f;
    }

    QRgb operator()(QRgb pixel) const
    {
        int a = qAlpha(pixel);
        if (a == 0) {
            return pixel;
        }
        int r = m_table[static_cast<size_t>(qRed(pixel))];
        int g = m_table[static_cast<size_t>(qGreen(pixel))];
        int b = m_table[static_cast<size_t>(qBlue(pixel))];
        if (m_hueSaturation) {
            adjustHueSaturation(r, g, b, m_adjustment.hue, m_adjustment.saturation);
        }
        if (m_adjustment.opacity != 1.0f) {
            a = clampChannel(a * m_adjustment.opacity);
        }
        return qRgba(r, g, b, a);
    }

private:
    ColorAdjustment m_adjustment;
    std::array<uint8_t, 256> m_table{};
    bool m_hueSaturation = false;
};

QRgb ColorAdjustment::adjustPixel(QRgb pixel) const
{
    return ColorAdjustmentPass(*this)(pixel);
}

QImage ColorAdjustment::apply(const QImage& source) const
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull() || isIdentity()) {
        return image;
    }
    const ColorAdjustmentPass pass(*this);
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb premultiplied = line[x];
            if (qAlpha(premultiplied) == 0) {
                continue;
            }
            line[x] = qPremultiply(pass(qUnpremultiply(premultiplied)));
        }
    }
    return image;
}
