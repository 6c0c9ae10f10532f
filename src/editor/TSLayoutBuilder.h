#pragma once

class QLabel;
class TSAttributeWidget;

/// Lays out one row of the attributes panel: margins and spacing of 10 (screen-scaled), the
/// attribute's name in a fixed 140 × 20 word-wrapped label, then the editors of its columns.
class TSLayoutBuilder
{
public:
    virtual ~TSLayoutBuilder() = default;

    virtual void build(TSAttributeWidget* widget) const;

protected:
    static QLabel* nameLabel(TSAttributeWidget* widget);
    /// A length scaled to the widget's screen.
    static int scaled(const TSAttributeWidget* widget, double length);
};
