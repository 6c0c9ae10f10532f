#pragma once

#include <QListView>

/// The thumbnail grid of the asset library: fixed cells laid out in batches so that thousands of
/// thumbnails arriving one by one keep the view fluid; tiles are dragged out as copies.
class TSLibraryViewTagged : public QListView
{
    Q_OBJECT

public:
    explicit TSLibraryViewTagged(QWidget* parent = nullptr);

    /// Thumbnails are fitted into this size.
    static QSize thumbnailSize() { return QSize(64, 64); }
};
