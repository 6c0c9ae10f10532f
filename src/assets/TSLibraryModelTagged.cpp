#include "TSLibraryModelTagged.h"

#include "AssetSearch.h"

#include <QDebug>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>

TSLibraryModelTagged::TSLibraryModelTagged(QObject* parent) : QAbstractListModel(parent) {}

int TSLibraryModelTagged::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_shown.size();
}

QVariant TSLibraryModelTagged::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.size()) {
        return QVariant();
    }
    const TSIconAsset& asset = m_assets.at(m_shown.at(index.row()));
    switch (role) {
    case Qt::DisplayRole:
        return QFileInfo(asset.path).completeBaseName();
    case Qt::DecorationRole:
        return asset.thumbnail;
    case Qt::ToolTipRole:
        return asset.tags.isEmpty() ? QFileInfo(asset.path).fileName()
                                    : asset.tags.join(QStringLiteral(", "));
    case PathRole:
        return asset.path;
    case TagsRole:
        return asset.tags;
    default:
        return QVariant();
    }
}

Qt::ItemFlags TSLibraryModelTagged::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled
                           : Qt::NoItemFlags;
}

QStringList TSLibraryModelTagged::mimeTypes() const
{
    return {QStringLiteral("application/x-qt-image"), QStringLiteral("text/plain"), QStringLiteral("path")};
}

QMimeData* TSLibraryModelTagged::mimeData(const QModelIndexList& indexes) const
{
    if (indexes.isEmpty() || !indexes.first().isValid()) {
        return nullptr;
    }
    const QModelIndex index = indexes.first();
    const QString path = data(index, PathRole).toString();
    QImageReader reader(path);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        qDebug().noquote() << "[TSLibraryModelTagged] unable to drag" << path << reader.errorString();
        return nullptr;
    }
    auto* mime = new QMimeData();
    mime->setImageData(picture);
    mime->setText(data(index, TagsRole).toStringList().join(QLatin1Char(';')));
    mime->setData(QStringLiteral("path"), path.toUtf8());
    return mime;
}

void TSLibraryModelTagged::addAsset(const TSIconAsset& asset)
{
    m_assets.append(asset);
    if (AssetSearch::matches(m_words, asset.path, asset.tags)) {
        beginInsertRows(QModelIndex(), m_shown.size(), m_shown.size());
        m_shown.append(m_assets.size() - 1);
        endInsertRows();
    }
}

void TSLibraryModelTagged::clear()
{
    beginResetModel();
    m_assets.clear();
    m_shown.clear();
    endResetModel();
}

void TSLibraryModelTagged::search(const QString& request)
{
    beginResetModel();
    m_request = request;
    m_words = AssetSearch::requestWords(request);
    m_shown.clear();
    for (int i = 0; i < m_assets.size(); ++i) {
        if (AssetSearch::matches(m_words, m_assets.at(i).path, m_assets.at(i).tags)) {
            m_shown.append(i);
        }
    }
    endResetModel();
}
