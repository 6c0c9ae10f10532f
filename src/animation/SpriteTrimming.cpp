#include "SpriteTrimming.h"

#include <algorithm>

QRect SpriteTrimming::keptRect(const QImage& source)
{
    if (source.isNull() || source.width() == 0 || source.height() == 0) {
        return QRect(0, 0, 1, 1);
    }
    const QImage image = source.format() == QImage::Format_ARGB32_Premultiplied || source.format() == QImage::Format_ARGB32
                             ? source
                             : source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = image.width();
    const int height = image.height();
    int minX = width;
    int minY = height;
    int maxX = 0;
    int maxY = 0;
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (qAlpha(line[x]) != 0) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    }
    if (maxX < minX || maxY < minY) {
        return QRect(0, 0, 1, 1);
    }
    return QRect(minX, minY, maxX - minX + 1, maxY - minY + 1);
}
