#include "AssetSearch.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace AssetSearch {

QStringList requestWords(const QString& request)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    return request.split(separators, Qt::SkipEmptyParts);
}

bool matches(const QStringList& words, const QString& path, const QStringList& tags)
{
    const QString fileName = QFileInfo(path).completeBaseName();
    for (const QString& word : words) {
        bool found = fileName.startsWith(word, Qt::CaseInsensitive);
        for (int i = 0; !found && i < tags.size(); ++i) {
            found = tags.at(i).trimmed().startsWith(word, Qt::CaseInsensitive);
        }
        if (!found) {
            return false;
        }
    }
    return true;
}

bool matches(const QString& request, const QString& path, const QStringList& tags)
{
    return matches(requestWords(request), path, tags);
}

} // namespace AssetSearch
