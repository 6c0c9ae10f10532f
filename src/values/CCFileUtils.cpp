#include "CCFileUtils.h"

#include "CCDictionary.h"
#include "CCFileUtilsQt.h"
#include "PlistReader.h"
#include "PlistWriter.h"

#include <climits>

namespace cocos2d {

CCFileUtils* CCFileUtils::sharedFileUtils()
{
    static CCFileUtilsQt utils;
    return &utils;
}

QByteArray CCFileUtils::getFileData(const QString& path)
{
    FILE* file = openFile(path, "rt");
    if (!file) {
        return QByteArray();
    }
    QByteArray data;
    // Size the buffer from the file length when it is known; streams that cannot seek still work.
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0 && size < INT_MAX) {
            data.reserve(static_cast<int>(size));
        }
        std::rewind(file);
    }
    char buffer[64 * 1024];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        data.append(buffer, static_cast<int>(read));
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return failed ? QByteArray() : data;
}

bool CCFileUtils::writeToFile(const CCDictionary* dict, const QString& path)
{
    if (!dict) {
        return false;
    }
    FILE* file = openFile(path, "w");
    if (!file) {
        return false;
    }
    // Printed in memory and written in one go: far fewer calls than printing to the stream.
    const bool written = PlistWriter::write(dict, file);
    return (std::fclose(file) == 0) && written;
}

CCDictionary* CCFileUtils::createCCDictionaryWithContentsOfFile(const QString& path)
{
    const QByteArray data = getFileData(path);
    if (data.isEmpty()) {
        return nullptr;
    }
    CCDictionary* dict = PlistReader::parse(data.constData(), static_cast<size_t>(data.size()));
    if (dict) {
        dict->autorelease();
    }
    return dict;
}

} // namespace cocos2d
