#pragma once
// Benchmarks that open and save documents would print a line per model file; only warnings and
// worse are shown.

#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace bench {

inline void dropDebugMessages()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type != QtDebugMsg && type != QtInfoMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
        }
    });
}

} // namespace bench
