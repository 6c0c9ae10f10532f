#include "TSApplication.h"
#include "TerminationSignals.h"

#include <QByteArray>

#include <clocale>
#include <cstring>

namespace {

/// The command-line export needs no screen; without a display server it draws offscreen.
void chooseHeadlessPlatform(int argc, char** argv)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const bool exporting = argc > 1 && std::strcmp(argv[1], "-export") == 0;
    if (exporting && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
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
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &application,
                     [] { QCoreApplication::quit(); });
    // Numbers in files are written and read with a point, whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    application.setAppInfo(AppInfo::bonestageRecord());
    application.start();
    return application.exec();
}
