#pragma once

#include <QStyledItemDelegate>

/// Paints the rows of the animation editor's property list (attributesList): a rounded band
/// with a square marker and the property's name. The marker takes the row's colour
/// (Qt::DecorationRole, the colour its curve is drawn in), grey without one. A row whose user
/// data is 1 is a little lower.
class TSInterfaceEditorAttributeItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static const QColor kBandColor;
    static const QColor kSelectedBandColor;
    static const QColor kMarkerColor;
    static const QColor kTextColor;

    explicit TSInterfaceEditorAttributeItemDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    /// The screen scale of the view the row is painted in.
    static double scaleOf(const QStyleOptionViewItem& option);
};
