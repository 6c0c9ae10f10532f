#pragma once

#include "NodeRecord.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QTransform>

/// Reading and writing a template's "skeleton.json": nodes and their placeholder images.
class SkeletonJson
{
public:
    /// A node's placeholder image.
    struct DummyImage
    {
        QString nodeName;
        QImage image;
        QTransform transform;
        /// Stacking index of the image among the template's images.
        int zValue = 0;
    };

    /// The nodes of folder's skeleton.json (relative folders are taken from the template library),
    /// in key order; empty (with a log line) when the file cannot be read.
    static QList<NodeRecord> readSkeleton(const QString& folder);
    /// The placeholder images, ordered by their stacking index.
    static QList<DummyImage> readDummyImages(const QString& folder);
    /// The skeleton's display name ("name").
    static QString readName(const QString& folder);

    /// Writes directory/skeleton.json (replacing it only once the new file is complete) and one
    /// PNG per image: node name + ".png". images are in stacking order; the first image of a node
    /// becomes its "dummyImage". Failures are not reported.
    static void writeSkeleton(const QString& directory, const QString& name, const QList<NodeRecord>& nodes,
                              const QList<DummyImage>& images);
};
