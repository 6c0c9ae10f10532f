#include "TerminationSignals.h"

#include <QDebug>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#ifdef Q_OS_UNIX

namespace {

// [0] is written by the handlers, [1] read on the event loop.
int s_sockets[2] = {-1, -1};
const int kSignals[] = {SIGTERM, SIGINT};

// Runs in the signal handler: only async-signal-safe calls.
void writeSignalNumber(int number)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    if (::write(s_sockets[0], &byte, 1) != 1) {
        // Nothing can be done about it here; a full pipe already holds a signal to act on.
    }
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    if (s_sockets[0] != -1) {
        qWarning("[TerminationSignals] handlers are already installed");
        return;
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, s_sockets) != 0) {
        qWarning("[TerminationSignals] cannot create a socket pair: %s", std::strerror(errno));
        s_sockets[0] = s_sockets[1] = -1;
        return;
    }
    // Programs the editor starts do not inherit the sockets; the handler never blocks, even with
    // bytes piling up unread.
    const int flags = ::fcntl(s_sockets[0], F_GETFL);
    if (::fcntl(s_sockets[0], F_SETFD, FD_CLOEXEC) != 0 || ::fcntl(s_sockets[1], F_SETFD, FD_CLOEXEC) != 0 ||
        flags == -1 || ::fcntl(s_sockets[0], F_SETFL, flags | O_NONBLOCK) != 0) {
        qWarning("[TerminationSignals] cannot set up the socket pair: %s", std::strerror(errno));
    }
    m_notifier = new QSocketNotifier(s_sockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);

    struct sigaction action = {};
    action.sa_handler = writeSignalNumber;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (const int number : kSignals) {
        if (::sigaction(number, &action, nullptr) != 0) {
            qWarning("[TerminationSignals] cannot handle signal %d: %s", number, std::strerror(errno));
        }
    }
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier) {
        return;
    }
    for (const int number : kSignals) {
        ::signal(number, SIG_DFL);
    }
    delete m_notifier;
    m_notifier = nullptr;
    for (int& socket : s_sockets) {
        ::close(socket);
        socket = -1;
    }
}

void TerminationSignals::readSignal()
{
    unsigned char byte = 0;
    if (::read(s_sockets[1], &byte, 1) != 1) {
        return;
    }
    qDebug("[TerminationSignals] signal %d received, quitting", int(byte));
    Q_EMIT received(int(byte));
}

#else

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {}

TerminationSignals::~TerminationSignals() = default;

void TerminationSignals::readSignal() {}

#endif
