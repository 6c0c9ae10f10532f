#include "TSInterfaceEditorAttributeItemDelegate.h"

#include "ScreenScale.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>

const QColor TSInterfaceEditorAttributeItemDelegate::kBandColor(52, 52, 52);
const QColor TSInterfaceEditorAttributeItemDelegate::kSelectedBandColor(78, 78, 78);
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
    // Wider than the list, a row would only add a scroll bar.
    int width = 100;
    if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget)) {
        width = std::min(width, view->viewport()->width());
    }
    return QSize(width, qRound(height * s));
}

QRectF TSInterfaceEditorAttributeItemDelegate::textRect(const QRectF& row, double scale)
{
    return QRectF(row.left() + 16 * scale, row.center().y() - 10 * scale, row.width() - 18 * scale,
                  20 * scale);
}

bool TSInterfaceEditorAttributeItemDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                                       const QStyleOptionViewItem& option,
                                                       const QModelIndex& index)
{
    const QString name = index.data(Qt::DisplayRole).toString();
    const QRectF text = textRect(option.rect, scaleOf(option));
    if (event->type() == QEvent::ToolTip && option.fontMetrics.horizontalAdvance(name) > text.width()) {
        QToolTip::showText(event->globalPos(), name, view);
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

QString TSInterfaceEditorAttributeItemDelegate::shownName(const QString& name, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(name) <= width) {
        return name;
    }
    QStringList words = name.split(QLatin1Char(' '));
    for (QString& word : words) {
        if (word.size() > 4) {
            word = word.left(3) + QLatin1Char('.');
        }
    }
    const QString shortened = words.join(QLatin1Char(' '));
    return metrics.horizontalAdvance(shortened) <= width ? shortened
                                                          : metrics.elidedText(shortened, Qt::ElideMiddle, width);
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

    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const QVariant foreground = index.data(Qt::ForegroundRole);
    const QColor colour = foreground.canConvert<QBrush>() ? foreground.value<QBrush>().color() : kTextColor;
    const double side = 7 * s;
    painter->fillRect(QRectF(band.left() + 5 * s, band.center().y() - side / 2, side, side), colour);

    painter->setPen(colour);
    painter->setFont(item.font);
    const QRectF text = textRect(row, s);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                      shownName(item.text, QFontMetrics(item.font), static_cast<int>(text.width())));
    painter->restore();
}
