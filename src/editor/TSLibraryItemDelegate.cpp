#include "TSLibraryItemDelegate.h"

#include <QImage>
#include <QPainter>

namespace {
constexpr int kPadding = 4;
}

TSLibraryItemDelegate::TSLibraryItemDelegate(const QSize& thumbnailSize, QObject* parent)
    : QStyledItemDelegate(parent), m_thumbnailSize(thumbnailSize)
{
}

QSize TSLibraryItemDelegate::cellSize(const QFontMetrics& metrics) const
{
    return QSize(m_thumbnailSize.width() + 2 * kPadding,
                 m_thumbnailSize.height() + metrics.height() + 3 * kPadding);
}

QSize TSLibraryItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return cellSize(option.fontMetrics);
}

void TSLibraryItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    painter->save();
    const QRect cell = option.rect;
    if (option.state & QStyle::State_Selected) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(option.palette.highlight());
        painter->drawRoundedRect(cell.adjusted(1, 1, -1, -1), 3, 3);
    } else if (option.state & QStyle::State_MouseOver) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(option.palette.midlight());
        painter->drawRoundedRect(cell.adjusted(1, 1, -1, -1), 3, 3);
    }
    const QRect square(cell.left() + kPadding, cell.top() + kPadding, m_thumbnailSize.width(),
                       m_thumbnailSize.height());
    const QImage thumbnail = index.data(Qt::DecorationRole).value<QImage>();
    if (!thumbnail.isNull()) {
        const QSize size = thumbnail.size().boundedTo(m_thumbnailSize);
        QRect target(QPoint(), size);
        target.moveCenter(square.center());
        painter->drawImage(target, thumbnail);
    }
    const QRect textRect(cell.left() + 2, square.bottom() + kPadding, cell.width() - 4,
                         option.fontMetrics.height());
    painter->setPen(option.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                               : QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(
        textRect, Qt::AlignHCenter | Qt::AlignVCenter,
        option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, textRect.width()));
    painter->restore();
}
