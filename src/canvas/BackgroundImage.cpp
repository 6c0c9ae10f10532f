#include "BackgroundImage.h"

#include <QPainter>

void BackgroundImage::paintEvent(QPaintEvent*)
{
    const QPixmap image = pixmap(Qt::ReturnByValue);
    if (image.isNull()) {
        return;
    }
    const QSize size = image.size().scaled(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, image);
}
