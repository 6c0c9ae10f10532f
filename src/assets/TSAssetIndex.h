#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The index file of an asset group: a stream of "asset" elements whose text is the image's path
/// relative to the root folder of the group's kind, with the tags in the attribute "search_tags"
/// separated by ",".
class TSAssetIndex
{
public:
    struct Entry
    {
        QString path;
        QStringList tags;
        bool operator==(const Entry& other) const { return path == other.path && tags == other.tags; }
    };

    enum class ReadResult
    {
        Ok,
        OpenFailed,
        XmlError
    };

    /// Reads the entries of file, the reason of a failure in error. An XML error keeps the
    /// entries read before it.
    static ReadResult read(const QString& file, QList<Entry>* entries, QString* error);
    /// Writes the entries atomically: the old file stays whole when anything fails.
    static bool write(const QString& file, const QList<Entry>& entries, QString* error);
};
