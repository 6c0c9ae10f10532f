#include "ScreenScale.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QScreen>
#include <QSize>
#include <QWidget>

#include <cmath>

double ScreenScale::of(const QWidget* widget)
{
    const QScreen* screen = widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi > 0.0 ? dpi / 96.0 : 1.0;
}

int ScreenScale::pixels(double length, const QWidget* widget)
{
    return static_cast<int>(std::lround(length * of(widget)));
}

double ScreenScale::ofItem(const QGraphicsItem* item)
{
    if (item && item->scene() && !item->scene()->views().isEmpty()) {
        return of(item->scene()->views().first());
    }
    return of(nullptr);
}

QPixmap ScreenScale::blankPixmap(const QSize& size)
{
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}
