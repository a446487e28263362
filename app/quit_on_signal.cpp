#include "quit_on_signal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lm740 {

namespace {

int signalSockets[2] = {-1, -1};

// A closed terminal (SIGHUP) ends the program as a logout (SIGTERM) or Ctrl+C (SIGINT) does.
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void onSignal(int signalNumber)
{
    const char byte = char(signalNumber);
    // Nothing else is async-signal-safe enough to do here. The write must neither block (the
    // socket is non-blocking: when it is full a quit is already on its way) nor leave its errno
    // to the code it interrupted.
    const int savedErrno = errno;
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

QuitOnSignal::QuitOnSignal(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSockets) != 0) {
        signalSockets[0] = signalSockets[1] = -1;
        return;
    }
    ::fcntl(signalSockets[0], F_SETFL, ::fcntl(signalSockets[0], F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitOnSignal::readSignal);

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
    delete m_notifier;
    m_notifier = nullptr;
    for (int &fd : signalSockets) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
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

} // namespace lm740
