#include "TSApplication.h"
#include "TerminationSignals.h"

#include <QByteArray>

#include <clocale>
#include <cstring>

namespace {

/// The commands of the command line need no screen; without a display server they draw offscreen.
void chooseHeadlessPlatform(int argc, char** argv)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    bool command = false;
    for (const char* name : {"-export", "-export-frames", "-pack-atlas", "--help", "-h"}) {
        command = command || (argc > 1 && std::strcmp(argv[1], name) == 0);
    }
    if (command && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    }
#else
    Q_UNUSED(argc)
    Q_UNUSED(argv)
#endif
}

} // namespace

int main(int argc, char** argv)
{
    Q_INIT_RESOURCE(resources);
    chooseHeadlessPlatform(argc, argv);
    TSApplication application(argc, argv);
    // SIGTERM and SIGINT end the event loop, so the process ends as on any other exit and the
    // working folder goes with it.
    // A signal that arrives while start() still opens a document is seen by the events that
    // loading processes, before the event loop runs, when quitting does nothing: it is
    // remembered, and the loop is not entered at all.
    TerminationSignals termination;
    bool terminated = false;
    QObject::connect(&termination, &TerminationSignals::received, &application, [&terminated] {
        terminated = true;
        QCoreApplication::quit();
    });
    // Numbers in files are written and read with a point, whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    application.setAppInfo(AppInfo::bonestageRecord());
    application.start();
    return terminated ? 0 : application.exec();
}
