// Start-up of the editor to its welcome window, against a bare Qt main window. Both programs say
// they are up through the shared memory segment that a launcher may create for them.
#include "InterleavedPair.h"
#include "Program.h"
#include "Report.h"

#include "StartupSignal.h"

#include <QCoreApplication>
#include <QSharedMemory>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

#include <sys/wait.h>

namespace {

// Seconds from starting program to its signal, or a negative number when it never came.
double startUp(const std::string& program, bench::Clock clock)
{
    const double start = bench::now(clock);
    const pid_t pid = bench::Program::start(program, {});
    if (pid < 0) {
        return -1.0;
    }
    QSharedMemory segment(startupSegmentKey(pid));
    double elapsed = -1.0;
    if (segment.create(1)) {
        static_cast<char*>(segment.data())[0] = 0;
        // Up in at most a minute, or never.
        while (bench::now(bench::Clock::Wall) - start < 60.0 && ::kill(pid, 0) == 0 &&
               ::waitpid(pid, nullptr, WNOHANG) == 0) {
            segment.lock();
            const bool up = static_cast<const char*>(segment.constData())[0] != 0;
            segment.unlock();
            if (up) {
                elapsed = bench::now(clock) - start;
                break;
            }
            QThread::usleep(200);
        }
    }
    ::kill(pid, SIGTERM);
    bench::Program::wait(pid);
    return elapsed;
}

bench::InterleavedPair::TimedBatch startUps(const std::string& program)
{
    return [program](std::int64_t count, bench::Clock clock) {
        double seconds = 0.0;
        for (std::int64_t i = 0; i < count; ++i) {
            const double one = startUp(program, clock);
            if (one < 0) {
                qWarning("%s did not come up", program.c_str());
            }
            seconds += std::max(one, 0.0);
        }
        return seconds;
    };
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir isolated;
    // The segment's key goes through the temporary folder, which both sides must share.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TMPDIR", isolated.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (isolated.path() + "/config").toLocal8Bit());
    qputenv("HOME", isolated.path().toLocal8Bit());
    QCoreApplication application(argc, argv);
    bench::InterleavedPair::Options options;
    options.rounds = 11;
    options.batchSeconds = 0.0;
    bench::Report::pair("start-up to the welcome window", "bonestage", "bare Qt main window",
                        bench::Goal::ratioAtMost(1.5), [&] {
                            return bench::InterleavedPair::run(startUps(BONESTAGE_EXECUTABLE),
                                                               startUps(BARE_MAIN_WINDOW), options);
                        });
    return 0;
}
