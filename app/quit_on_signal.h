// Ends the event loop on SIGTERM, SIGINT and SIGHUP, as a desktop program must at logout, on Ctrl+C
// or when its terminal closes, so that main() runs to its end (and the simulated controller's
// memory is saved). The signal handler only writes a byte to a socket; the quitting happens in the
// event loop.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace lm740 {

class QuitOnSignal : public QObject
{
    Q_OBJECT
public:
    explicit QuitOnSignal(QObject *parent = nullptr);
    ~QuitOnSignal() override;

    // The signal that ended the loop, or 0.
    int received() const { return m_received; }

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
    int m_received = 0;
};

} // namespace lm740
