#pragma once

#include <QStyledItemDelegate>

/// Paints the rows of the animation editor's property list (attributesList): a rounded band
/// with a square marker and the property's name, in the row's font. Marker and name take the
/// row's colour (its foreground), with which the animation editor tells the curves it draws
/// behind the current one from the others. A row whose user data is 1 is a little lower. Rows
/// are 100 pixels wide, or as wide as a narrower list; a name that does not fit is shortened
/// (shownName) and shown whole in its tooltip.
class TSInterfaceEditorAttributeItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static const QColor kBandColor;
    static const QColor kSelectedBandColor;
    static const QColor kTextColor;

    explicit TSInterfaceEditorAttributeItemDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    /// name as a row width pixels wide shows it: whole when it fits; otherwise its long words
    /// cut to three letters and a full stop ("Position X" reads "Pos. X"), and what still does
    /// not fit shortened in the middle.
    static QString shownName(const QString& name, const QFontMetrics& metrics, int width);

private:
    /// The screen scale of the view the row is painted in.
    static double scaleOf(const QStyleOptionViewItem& option);
    /// Where the name is written inside a row.
    static QRectF textRect(const QRectF& row, double scale);
};
