#pragma once

#include "TSIconAsset.h"

#include <QAbstractListModel>
#include <QVector>

/// The images of the shown asset group, filtered by the search request. Rows show the file name
/// and the thumbnail; a dragged row carries the full picture as image data, its tags joined by
/// ";" as text and its path under the format "path", which the canvas turns into a new image.
class TSLibraryModelTagged : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role
    {
        PathRole = Qt::UserRole + 1,
        TagsRole
    };

    explicit TSLibraryModelTagged(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

    /// Every asset of the group, shown or not.
    int assetCount() const { return m_assets.size(); }
    QString searchRequest() const { return m_request; }

public Q_SLOTS:
    void addAsset(const TSIconAsset& asset);
    void clear();
    /// Shows the assets that match request (see AssetSearch).
    void search(const QString& request);

private:
    QVector<TSIconAsset> m_assets;
    /// Indexes into m_assets of the shown rows.
    QVector<int> m_shown;
    QString m_request;
    QStringList m_words;
};
