#pragma once

#include <QImage>
#include <QMetaType>
#include <QString>
#include <QStringList>

/// One image of the asset library as the list shows it: its thumbnail, the absolute path of the
/// full image and its search tags.
struct TSIconAsset
{
    QImage thumbnail;
    QString path;
    QStringList tags;
};

Q_DECLARE_METATYPE(TSIconAsset)
