#include "TSImageDropArea.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

TSImageDropArea::TSImageDropArea(QWidget* parent) : QFrame(parent)
{
    setAcceptDrops(true);
    setFrameShape(QFrame::StyledPanel);
    setToolTip(QStringLiteral("Drop a PNG image here to replace the picture"));
}

void TSImageDropArea::setPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

QString TSImageDropArea::pngPath(const QList<QUrl>& urls)
{
    for (const QUrl& url : urls) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
            return url.toLocalFile();
        }
    }
    return QString();
}

void TSImageDropArea::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && !pngPath(event->mimeData()->urls()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void TSImageDropArea::dropEvent(QDropEvent* event)
{
    const QString path = event->mimeData()->hasUrls() ? pngPath(event->mimeData()->urls()) : QString();
    const QImage image = path.isEmpty() ? QImage() : QImage(path, "PNG");
    if (image.isNull()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    Q_EMIT imageDropped(image);
}

void TSImageDropArea::mouseDoubleClickEvent(QMouseEvent* event)
{
    QFrame::mouseDoubleClickEvent(event);
    Q_EMIT contentEditingRequested();
}

void TSImageDropArea::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (m_picture.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect area = contentsRect().adjusted(4, 4, -4, -4);
    const QSize size = m_picture.size().scaled(area.size(), Qt::KeepAspectRatio);
    const QRect target(area.center() - QPoint(size.width() / 2, size.height() / 2), size);
    painter.drawImage(target, m_picture);
}
