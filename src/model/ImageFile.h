#pragma once

#include <QImage>
#include <QString>

/// Reads pictures for the document with a size guard, so a huge or broken file is refused
/// instead of exhausting memory.
class ImageFile
{
public:
    /// Largest accepted width or height, and area, in pixels.
    static constexpr int kMaxSide = 16384;
    static constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

    /// The picture as premultiplied ARGB32, or a null image (with a reason in error) when the file
    /// cannot be read or is too large.
    static QImage read(const QString& path, QString* error = nullptr);
    /// Whether a size is within the limits.
    static bool acceptableSize(const QSize& size);
};
