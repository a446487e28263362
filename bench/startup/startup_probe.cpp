// A Qt plugin that the start-up benchmark loads into the program it times (through
// QT_QPA_GENERIC_PLUGINS), so that the program under test and the bare window it is compared with
// are watched the same way and neither carries code of its own for it. When the first top-level
// window has been exposed and painted, it writes one line to the file descriptor named by
// STARTUP_PROBE_FD and ends the process at once: the benchmark times the start, not the exit.
// The window is handed the exposure by the probe itself, so that the line follows the first paint
// at once, before anything the program queued for later.
#include <QCoreApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QWindow>

#include <cstdlib>
#include <unistd.h>

namespace {

class ShownWatcher : public QObject
{
public:
    explicit ShownWatcher(int fd) : m_fd(fd)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Expose || m_seen)
            return false;
        auto *window = qobject_cast<QWindow *>(watched);
        if (!window || !window->isTopLevel() || !window->isExposed())
            return false;
        m_seen = true;
        // The window paints in its own handling of this event: it is handed the event now, and
        // the line follows the paint, before anything the program queued for later.
        watched->event(event);
        static const char line[] = "shown\n";
        [[maybe_unused]] const auto written = ::write(m_fd, line, sizeof line - 1);
        ::_exit(0);
    }

private:
    int m_fd;
    bool m_seen = false;
};

} // namespace

class StartupProbePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "startup_probe.json")
public:
    QObject *create(const QString &, const QString &) override
    {
        const char *fd = std::getenv("STARTUP_PROBE_FD");
        return fd ? new ShownWatcher(std::atoi(fd)) : nullptr;
    }
};

#include "startup_probe.moc"
