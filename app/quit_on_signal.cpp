#include "quit_on_signal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lm740 {

namespace {

// [0] written by the handler, [1] read by the event loop; the watchdog's pair likewise; the
// destructor wakes the watchdog through the last pair.
int signalSockets[2] = {-1, -1};
int watchdogSockets[2] = {-1, -1};
int stopSockets[2] = {-1, -1};

// A closed terminal (SIGHUP) ends the program as a logout (SIGTERM) or Ctrl+C (SIGINT) does.
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void onSignal(int signalNumber)
{
    const char byte = char(signalNumber);
    // Nothing else is async-signal-safe enough to do here. The writes must neither block (the
    // sockets are non-blocking: when one is full a quit is already on its way) nor leave their
    // errno to the code they interrupted.
    const int savedErrno = errno;
    [[maybe_unused]] ssize_t written = ::write(signalSockets[0], &byte, 1);
    written = ::write(watchdogSockets[0], &byte, 1);
    errno = savedErrno;
}

bool openPair(int (&pair)[2])
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        pair[0] = pair[1] = -1;
        return false;
    }
    ::fcntl(pair[0], F_SETFL, ::fcntl(pair[0], F_GETFL) | O_NONBLOCK);
    return true;
}

void closePair(int (&pair)[2])
{
    for (int &fd : pair) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

// Waits for a byte on fd for at most `ms` (-1: for good); the byte, or 0 when none came.
char waitForByte(int fd, int ms)
{
    pollfd p = {fd, POLLIN, 0};
    int ready = 0;
    while ((ready = ::poll(&p, 1, ms)) < 0 && errno == EINTR) {
    }
    char byte = 0;
    return ready > 0 && ::read(fd, &byte, 1) == 1 ? byte : char(0);
}

} // namespace

QuitOnSignal::QuitOnSignal(std::chrono::milliseconds grace, QObject *parent)
    : QObject(parent), m_grace(grace)
{
    if (!openPair(signalSockets))
        return;
    m_notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitOnSignal::readSignal);
    if (openPair(watchdogSockets) && openPair(stopSockets))
        m_watchdog = std::thread(&QuitOnSignal::watch, this);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kSignals)
        sigaction(signalNumber, &action, nullptr);
}

QuitOnSignal::~QuitOnSignal()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : kSignals)
        sigaction(signalNumber, &action, nullptr);
    if (m_watchdog.joinable()) {
        const char stop = 1;
        [[maybe_unused]] const ssize_t written = ::write(stopSockets[0], &stop, 1);
        m_watchdog.join();
    }
    delete m_notifier;
    m_notifier = nullptr;
    closePair(signalSockets);
    closePair(watchdogSockets);
    closePair(stopSockets);
}

void QuitOnSignal::setLastWords(std::function<void()> lastWords)
{
    const std::lock_guard lock(m_lastWordsMutex);
    m_lastWords = std::move(lastWords);
}

void QuitOnSignal::readSignal()
{
    char byte = 0;
    if (::read(signalSockets[1], &byte, 1) == 1) {
        m_received = byte;
        // exit() ends every running event loop, also those of open dialogs. A signal that comes
        // while a dialog of the window's construction runs, before the main loop, would be lost
        // with it alone, so the quit is also queued for the main loop.
        QCoreApplication::exit(0);
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
    }
}

void QuitOnSignal::watch()
{
    pollfd both[2] = {{watchdogSockets[1], POLLIN, 0}, {stopSockets[1], POLLIN, 0}};
    while (::poll(both, 2, -1) < 0 && errno == EINTR) {
    }
    if (both[1].revents)
        return;
    const char signalNumber = waitForByte(watchdogSockets[1], 0);
    // Until main() ends, the loop is asked again and again whether it turns: a long transfer
    // that keeps it turning is left to end as it would.
    for (;;) {
        m_answered = false;
        QMetaObject::invokeMethod(
            this, [this] { m_answered = true; }, Qt::QueuedConnection);
        if (waitForByte(stopSockets[1], int(m_grace.count())))
            return;
        if (!m_answered)
            break;
    }
    {
        const std::lock_guard lock(m_lastWordsMutex);
        if (m_lastWords)
            m_lastWords();
    }
    ::_exit(128 + signalNumber);
}

} // namespace lm740
