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

QStringList TSImageDropArea::droppablePaths(const QList<QUrl>& urls)
{
    QStringList paths;
    bool anyPng = false;
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            paths.append(url.toLocalFile());
            anyPng = anyPng || paths.last().endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
        }
    }
    return anyPng ? paths : QStringList();
}

void TSImageDropArea::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && !droppablePaths(event->mimeData()->urls()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void TSImageDropArea::dropEvent(QDropEvent* event)
{
    const QStringList paths =
        event->mimeData()->hasUrls() ? droppablePaths(event->mimeData()->urls()) : QStringList();
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (paths.size() == 1) {
        const QImage image(paths.first(), "PNG");
        if (!image.isNull()) {
            Q_EMIT imageDropped(image);
        }
    }
    Q_EMIT filesDropped(paths);
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
