// A Qt plugin that the start-up benchmark loads into the program it times (through
// QT_QPA_GENERIC_PLUGINS), so that the program under test and the bare window it is compared with
// are watched the same way and neither carries code of its own for it. It writes two lines to the
// file descriptor named by STARTUP_PROBE_FD, each with a CLOCK_MONOTONIC time and the process's
// processor time, both in milliseconds:
//   shown T CPU  when the first top-level window has been exposed and painted;
//   quiet T CPU  T the end of the last paint before the program went STARTUP_PROBE_QUIET_MS
//                (default 300) without painting, its event loop turning freely all the while;
// and ends the process at once after the second: the benchmark times the start, not the exit.
// A paint is the handling of an exposure or update request of a top-level window in which some
// widget was painted; paints that touch only widgets inside the classes named in
// STARTUP_PROBE_IGNORE (comma-separated) do not count, for views that play an animation.
// STARTUP_PROBE_SHOT names a PNG file for the screen as it was after the last counted paint.
// The windows are handed their paint events by the probe itself, so that each time is taken right
// after the paint and its flush, before anything the program queued for later.
#include <QApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

namespace {

double monotonicMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double processorMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

class PaintWatcher : public QObject
{
public:
    PaintWatcher(int fd, double quietMs) : m_fd(fd), m_quietMs(quietMs)
    {
        for (const QString &name : qEnvironmentVariable("STARTUP_PROBE_IGNORE")
                                       .split(QLatin1Char(','), Qt::SkipEmptyParts))
            m_ignored.append(name.trimmed().toLatin1());
        m_shotPath = qEnvironmentVariable("STARTUP_PROBE_SHOT");
        // The event loop's pulse: a tick that comes late means the loop was busy, and a busy
        // program is not quiet even when it does not paint.
        m_pulse.setInterval(kPulseMs);
        m_pulse.setTimerType(Qt::PreciseTimer);
        connect(&m_pulse, &QTimer::timeout, this, &PaintWatcher::pulse);
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            if (m_frameDepth > 0 && !m_painted && counts(watched))
                m_painted = true;
            return false;
        }
        if (event->type() != QEvent::Expose && event->type() != QEvent::UpdateRequest)
            return false;
        auto *window = qobject_cast<QWindow *>(watched);
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!(window && window->isTopLevel()) && !(widget && widget->isWindow()))
            return false;
        const bool first =
            !m_shown && window && event->type() == QEvent::Expose && window->isExposed();
        if (!m_shown && !first)
            return false; // nothing reaches the screen before the first exposure
        // The window paints in its own handling of this event: it is handed the event now, and
        // the time follows the paint.
        if (m_frameDepth++ == 0)
            m_painted = false;
        watched->event(event);
        if (--m_frameDepth == 0 && (m_painted || first))
            painted();
        if (first) {
            m_shown = true;
            report("shown", m_lastPaint, m_lastPaintCpu);
            m_lastTick = m_quietFrom = monotonicMs();
            m_pulse.start();
        }
        return true;
    }

private:
    static constexpr int kPulseMs = 50;
    static constexpr double kLateMs = 100; // a tick this late: the loop was busy

    bool counts(QObject *widget) const
    {
        for (QObject *o = widget; o; o = o->parent())
            for (const QByteArray &name : m_ignored)
                if (o->inherits(name.constData()))
                    return false;
        return true;
    }

    void painted()
    {
        m_lastPaint = monotonicMs();
        m_lastPaintCpu = processorMs();
        if (!m_shotPath.isEmpty())
            if (QScreen *screen = QGuiApplication::primaryScreen())
                m_shot = screen->grabWindow(0).toImage();
    }

    void pulse()
    {
        const double now = monotonicMs();
        if (now - m_lastTick > kPulseMs + kLateMs)
            m_quietFrom = now;
        m_lastTick = now;
        if (now - std::max(m_quietFrom, m_lastPaint) < m_quietMs)
            return;
        if (!m_shotPath.isEmpty() && !m_shot.save(m_shotPath))
            std::fprintf(stderr, "startup probe: cannot write %s\n", qPrintable(m_shotPath));
        report("quiet", m_lastPaint, m_lastPaintCpu);
        ::_exit(0);
    }

    void report(const char *what, double ms, double cpuMs)
    {
        char line[96];
        const int n = std::snprintf(line, sizeof line, "%s %.3f %.3f\n", what, ms, cpuMs);
        [[maybe_unused]] const auto written = ::write(m_fd, line, size_t(n));
    }

    int m_fd;
    double m_quietMs;
    QList<QByteArray> m_ignored;
    QString m_shotPath;
    QImage m_shot;
    QTimer m_pulse;
    bool m_shown = false;
    int m_frameDepth = 0;
    bool m_painted = false;
    double m_lastPaint = 0;
    double m_lastPaintCpu = 0;
    double m_lastTick = 0;
    double m_quietFrom = 0;
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
        if (!fd)
            return nullptr;
        const char *quiet = std::getenv("STARTUP_PROBE_QUIET_MS");
        return new PaintWatcher(std::atoi(fd), quiet ? std::atof(quiet) : 300.0);
    }
};

#include "startup_probe.moc"
