#pragma once

class QWidget;
class QGraphicsItem;

/// The screen scale: logical DPI of a widget's screen (or the primary screen) divided by 96.
/// Sizes of handles, joints and panel parts are multiplied by it.
class ScreenScale
{
public:
    static double of(const QWidget* widget = nullptr);
    /// The scale of the screen of the first view showing an item, else of the primary screen.
    static double ofItem(const QGraphicsItem* item);
};
