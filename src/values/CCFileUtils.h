#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>

namespace cocos2d {

class CCDictionary;

/// Process-wide file access used by the property-list reader and writer.
class CCFileUtils
{
public:
    virtual ~CCFileUtils() = default;

    /// The process-wide instance, a CCFileUtilsQt created on first use.
    static CCFileUtils* sharedFileUtils();

    /// Opens path with a standard mode string ("r", "w", "a", optional "+", "b", "t"); the
    /// caller closes the stream. Null when the file cannot be opened.
    virtual FILE* openFile(const QString& path, const char* mode) = 0;
    /// A folder the user may write to, ending with "/".
    virtual QString getWritablePath() const = 0;

    /// The whole content of a file read in text mode; empty when it cannot be read.
    QByteArray getFileData(const QString& path);

    /// Writes dict as a property list; true when the whole file was written.
    bool writeToFile(const CCDictionary* dict, const QString& path);
    /// Reads a property list; an autoreleased dictionary, or null.
    CCDictionary* createCCDictionaryWithContentsOfFile(const QString& path);
};

} // namespace cocos2d
