// Ending on SIGTERM, SIGINT and SIGHUP: the handler only hands the signal to the event loop, and it
// must do that without ever blocking the program or disturbing the code it interrupted; a program
// whose loop no longer turns is ended all the same, after its last words.
#include "quit_on_signal.h"

#include <QtTest>

#include <cerrno>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

class TstQuitOnSignal : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void manySignalsBeforeTheLoopRunsNeitherBlockNorTouchErrno();
    void aBlockedLoopEndsAfterTheLastWords();
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

void TstQuitOnSignal::aBlockedLoopEndsAfterTheLastWords()
{
    int said[2], never[2];
    QVERIFY(::pipe(said) == 0 && ::pipe(never) == 0);
    const pid_t child = ::fork();
    if (child == 0) {
        lm740::QuitOnSignal quitOnSignal(std::chrono::milliseconds(100));
        quitOnSignal.setLastWords([&] { (void)!::write(said[1], "saved", 5); });
        ::raise(SIGTERM);
        // A loop that keeps turning (a long transfer) is asked again and again, and left alone.
        struct Asked : QObject
        {
            int times = 0;
            bool eventFilter(QObject *, QEvent *e) override
            {
                times += e->type() == QEvent::MetaCall;
                return false;
            }
        } asked;
        quitOnSignal.installEventFilter(&asked);
        while (asked.times < 3)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        (void)!::write(said[1], "turned ", 7);
        char byte;
        (void)!::read(never[0], &byte, 1); // then blocked for good, as on /proc/kmsg
        ::_exit(0);
    }
    ::alarm(30);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    ::alarm(0);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 128 + SIGTERM);
    QByteArray words(12, 0);
    QCOMPARE(::read(said[0], words.data(), 12), 12);
    QCOMPARE(words, "turned saved");
}

QTEST_GUILESS_MAIN(TstQuitOnSignal)
#include "tst_quit_on_signal.moc"
