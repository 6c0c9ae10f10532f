#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

/// Qt message handler of the process: every message goes to standard error and, with its type
/// prefix, to the day's log file "debuglog_yyyy.MM.dd.txt" in logDirectory().
void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message);

/// The log folder: the temporary folder + "/" + the bundle id, created on first use and cached.
QString logDirectory();

/// The log file of a day.
QString logFilePath(const QDate& date);

/// The line a message forms in the log file ("Debug: x", "Warning: x", ...).
QString logLine(QtMsgType type, const QString& message);
