#include "TSInterfaceEditorAttributeItemDelegate.h"

#include "ScreenScale.h"

#include <QPainter>
#include <QPainterPath>

const QColor TSInterfaceEditorAttributeItemDelegate::kBandColor(52, 52, 52);
const QColor TSInterfaceEditorAttributeItemDelegate::kSelectedBandColor(78, 78, 78);
const QColor TSInterfaceEditorAttributeItemDelegate::kMarkerColor(120, 120, 120);
const QColor TSInterfaceEditorAttributeItemDelegate::kTextColor(200, 200, 200);

TSInterfaceEditorAttributeItemDelegate::TSInterfaceEditorAttributeItemDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

double TSInterfaceEditorAttributeItemDelegate::scaleOf(const QStyleOptionViewItem& option)
{
    return ScreenScale::of(option.widget);
}

QSize TSInterfaceEditorAttributeItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                                       const QModelIndex& index) const
{
    const double s = scaleOf(option);
    const double height = index.data(Qt::UserRole).toInt() == 1 ? 21 : 25;
    return QSize(100, qRound(height * s));
}

void TSInterfaceEditorAttributeItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                                   const QModelIndex& index) const
{
    const double s = scaleOf(option);
    const QRectF row(option.rect);
    const QRectF band(row.left(), row.center().y() - 10 * s, row.width(), 20 * s);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    QPainterPath rounded;
    rounded.addRoundedRect(band.adjusted(0.5, 0.5, -0.5, -0.5), 4 * s, 4 * s);
    painter->fillPath(rounded, option.state & QStyle::State_Selected ? kSelectedBandColor : kBandColor);

    const QVariant decoration = index.data(Qt::DecorationRole);
    const QColor marker =
        decoration.userType() == QMetaType::QColor ? decoration.value<QColor>() : kMarkerColor;
    const double side = 7 * s;
    painter->fillRect(QRectF(band.left() + 5 * s, band.center().y() - side / 2, side, side), marker);

    painter->setPen(kTextColor);
    painter->setFont(option.font);
    const QRectF text(band.left() + 16 * s, band.top(), band.width() - 16 * s, band.height());
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
    painter->restore();
}
