#pragma once

#include <QPixmap>

class QGraphicsItem;
class QSize;
class QWidget;

/// The screen scale: logical DPI of a widget's screen (or the primary screen) divided by 96.
/// Sizes of handles, joints and panel parts are multiplied by it.
class ScreenScale
{
public:
    static double of(const QWidget* widget = nullptr);
    /// The scale of the screen of the first view showing an item, else of the primary screen.
    static double ofItem(const QGraphicsItem* item);
    /// length pixels of a 96 DPI screen on the widget's screen, rounded to whole pixels.
    static int pixels(double length, const QWidget* widget = nullptr);
    /// A transparent pixmap of size pixels, at the device pixel ratio of the densest screen: what
    /// is painted on it in those pixels stays sharp wherever it is shown.
    static QPixmap blankPixmap(const QSize& size);
};
