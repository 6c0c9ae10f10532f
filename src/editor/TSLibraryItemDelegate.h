#pragma once

#include <QStyledItemDelegate>

/// Paints a library tile: the thumbnail centred in the upper square and the elided name below,
/// in a cell of one fixed size so the grid lays out thousands of tiles cheaply.
class TSLibraryItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    TSLibraryItemDelegate(const QSize& thumbnailSize, QObject* parent = nullptr);

    QSize cellSize(const QFontMetrics& metrics) const;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QSize m_thumbnailSize;
};
