#include "TSLibraryViewTagged.h"

#include "TSLibraryItemDelegate.h"

TSLibraryViewTagged::TSLibraryViewTagged(QWidget* parent) : QListView(parent)
{
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setLayoutMode(QListView::Batched);
    setBatchSize(200);
    setUniformItemSizes(true);
    setSpacing(0);
    auto* delegate = new TSLibraryItemDelegate(thumbnailSize(), this);
    setItemDelegate(delegate);
    setGridSize(delegate->cellSize(fontMetrics()));
    setMouseTracking(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}
