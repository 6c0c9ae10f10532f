#include "CCFileUtilsQt.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstring>
#include <unistd.h>

namespace cocos2d {

FILE* CCFileUtilsQt::openFile(const QString& path, const char* mode)
{
    if (path.isEmpty() || !mode || QFileInfo(path).isDir()) {
        return nullptr;
    }
    const bool update = std::strchr(mode, '+') != nullptr;
    QIODevice::OpenMode flags;
    char streamMode[3] = {0, 0, 0};
    switch (mode[0]) {
    case 'r':
        flags = update ? QIODevice::ReadWrite : QIODevice::ReadOnly;
        streamMode[0] = 'r';
        break;
    case 'w':
        flags = (update ? QIODevice::ReadWrite : QIODevice::WriteOnly) | QIODevice::Truncate;
        streamMode[0] = 'w';
        break;
    case 'a':
        flags = (update ? QIODevice::ReadWrite : QIODevice::WriteOnly) | QIODevice::Append;
        streamMode[0] = 'a';
        break;
    default:
        return nullptr;
    }
    if (update) {
        streamMode[1] = '+';
    }
    if (!std::strchr(mode, 'b')) {
        flags |= QIODevice::Text;
    }
    QFile file(path);
    if (!file.open(flags)) {
        return nullptr;
    }
    // The stream gets its own descriptor so it outlives the QFile.
    const int fd = ::dup(file.handle());
    if (fd < 0) {
        return nullptr;
    }
    FILE* stream = ::fdopen(fd, streamMode);
    if (!stream) {
        ::close(fd);
    }
    return stream;
}

QString CCFileUtilsQt::getWritablePath() const
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QLatin1Char('/');
}

} // namespace cocos2d
