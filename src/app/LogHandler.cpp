#include "LogHandler.h"

#include "AppInfo.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace {

QString makeLogDirectory()
{
    const QString path = QDir::tempPath() + QLatin1Char('/') + appInfo(AppInfo::BundleId);
    QDir().mkpath(path);
    return QDir(path).absolutePath();
}

// Initialised once, safely against concurrent first use, and still answered during exit.
Q_GLOBAL_STATIC_WITH_ARGS(QString, cachedLogDirectory, (makeLogDirectory()))

} // namespace

QString logDirectory()
{
    return cachedLogDirectory.isDestroyed() ? makeLogDirectory() : *cachedLogDirectory;
}

QString logFilePath(const QDate& date)
{
    return logDirectory() + QStringLiteral("/debuglog_") + date.toString(QStringLiteral("yyyy.MM.dd")) +
           QStringLiteral(".txt");
}

QString logLine(QtMsgType type, const QString& message)
{
    switch (type) {
    case QtDebugMsg:
        return QStringLiteral("Debug: %1").arg(message);
    case QtWarningMsg:
        return QStringLiteral("Warning: %1").arg(message);
    case QtCriticalMsg:
        return QStringLiteral("Critical: %1").arg(message);
    case QtFatalMsg:
        return QStringLiteral("Fatal: %1").arg(message);
    case QtInfoMsg:
        return QStringLiteral("Info: %1").arg(message);
    }
    return message;
}

void messageHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    const QByteArray local = message.toLocal8Bit();
    std::fwrite(local.constData(), 1, static_cast<size_t>(local.size()), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);

    const QString line = logLine(type, message);
    if (type == QtFatalMsg) {
        std::abort();
    }
    // Each message opens and closes the file, so a run past midnight moves on to the next day's file.
    QFile file(logFilePath(QDate::currentDate()));
    if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        file.write(line.toUtf8());
        file.write("\n");
    }
}
