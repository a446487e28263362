// Ends the event loop on SIGTERM, SIGINT and SIGHUP, as a desktop program must at logout, on Ctrl+C
// or when its terminal closes, so that main() runs to its end (and the simulated controller's
// memory is saved). The signal handler only writes a byte to two sockets; the quitting happens in
// the event loop. A watchdog thread reads the other byte and asks the loop whether it still turns;
// a loop that does not answer within `grace` is blocked (a read that never ends, a dialog that
// waits on one), and the watchdog then says the program's last words (its recovery copy) and ends
// it with the exit status of the signal.
#pragma once

#include <QObject>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

class QSocketNotifier;

namespace lm740 {

class QuitOnSignal : public QObject
{
    Q_OBJECT
public:
    explicit QuitOnSignal(std::chrono::milliseconds grace = std::chrono::seconds(5),
                          QObject *parent = nullptr);
    ~QuitOnSignal() override;

    // The signal that ended the loop, or 0.
    int received() const { return m_received; }
    // What the watchdog runs, on its own thread, before it ends a blocked program.
    void setLastWords(std::function<void()> lastWords);

private:
    void readSignal();
    void watch();

    QSocketNotifier *m_notifier = nullptr;
    int m_received = 0;
    std::chrono::milliseconds m_grace;
    std::mutex m_lastWordsMutex;
    std::function<void()> m_lastWords;
    std::atomic<bool> m_answered{false};
    std::thread m_watchdog;
};

} // namespace lm740
