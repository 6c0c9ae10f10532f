#include "ImageFile.h"

#include <QImageReader>

bool ImageFile::acceptableSize(const QSize& size)
{
    return size.width() > 0 && size.height() > 0 && size.width() <= kMaxSide && size.height() <= kMaxSide &&
           qint64(size.width()) * size.height() <= kMaxPixels;
}

QImage ImageFile::read(const QString& path, QString* error)
{
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid() && !acceptableSize(size)) {
        if (error) {
            *error = QStringLiteral("image too large: %1 x %2").arg(size.width()).arg(size.height());
        }
        return QImage();
    }
    QImage image = reader.read();
    if (image.isNull()) {
        if (error) {
            *error = reader.errorString();
        }
        return QImage();
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
