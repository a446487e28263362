// Ending on SIGTERM, SIGINT and SIGHUP: the handler only hands the signal to the event loop, and it
// must do that without ever blocking the program or disturbing the code it interrupted.
#include "quit_on_signal.h"

#include <QtTest>

#include <cerrno>
#include <csignal>
#include <unistd.h>

class TstQuitOnSignal : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void manySignalsBeforeTheLoopRunsNeitherBlockNorTouchErrno();
};

void TstQuitOnSignal::manySignalsBeforeTheLoopRunsNeitherBlockNorTouchErrno()
{
    lm740::QuitOnSignal quitOnSignal;
    ::alarm(30); // a handler that blocks would hang here for good: end the test instead
    // A long synchronous device operation keeps the loop from reading; signals pile up meanwhile,
    // far more than the socket holds.
    for (int i = 0; i < 20000; ++i) {
        errno = ENOENT;
        ::raise(i % 3 == 2 ? SIGHUP : (i % 3 ? SIGINT : SIGTERM));
        QCOMPARE(errno, ENOENT);
    }
    ::alarm(0);
    QCOMPARE(quitOnSignal.received(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(quitOnSignal.received(), int(SIGTERM));
}

QTEST_GUILESS_MAIN(TstQuitOnSignal)
#include "tst_quit_on_signal.moc"
