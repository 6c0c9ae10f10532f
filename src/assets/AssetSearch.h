#pragma once

#include <QString>
#include <QStringList>

/// The search rule of the asset library. The request is split into words at blanks and commas;
/// an asset matches when every word is, ignoring case, the start of one of its tags or of its
/// file name (without folder and suffix). An empty request matches everything.
namespace AssetSearch {

QStringList requestWords(const QString& request);
bool matches(const QStringList& words, const QString& path, const QStringList& tags);
bool matches(const QString& request, const QString& path, const QStringList& tags);

} // namespace AssetSearch
