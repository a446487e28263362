// Runs the real lm740ctl as a user's shell would: no display, a simulated controller whose memory
// lives in a file of a private folder, and what it printed and its exit status kept for checks.
#pragma once

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

struct CtlRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

class CtlRig
{
public:
    QTemporaryDir dir;
    // Variables set for every run, "NAME=VALUE".
    QStringList environment;

    QString path(const QString &name) const { return dir.filePath(name); }
    // The simulated controller's memory between runs.
    QString controllerFile() const { return path(QStringLiteral("controller.set")); }

    // `arguments` with "%c" standing for "--simulator=<controllerFile>" and "%d" for the folder.
    // With `terminal`, stdin and stderr are a pseudo-terminal that has `input` typed ahead, and
    // err is what the terminal showed.
    CtlRun run(QStringList arguments, const QByteArray &input = {}, bool terminal = false) const
    {
        for (QString &a : arguments) {
            if (a == QLatin1String("%c"))
                a = QStringLiteral("--simulator=") + controllerFile();
            a.replace(QLatin1String("%d"), dir.path());
        }
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        env.remove(QStringLiteral("LM740_DEVICE"));
        // The backups made before a restore go to the private folder too.
        env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("data")));
        for (const QString &e : environment)
            env.insert(e.section(QLatin1Char('='), 0, 0), e.section(QLatin1Char('='), 1));
        p.setProcessEnvironment(env);
        int master = -1;
        int slave = -1;
        if (terminal) {
            if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
                return {};
            ::fcntl(master, F_SETFL, O_NONBLOCK);
            p.setChildProcessModifier([slave] {
                ::dup2(slave, STDIN_FILENO);
                ::dup2(slave, STDERR_FILENO);
            });
            if (::write(master, input.constData(), size_t(input.size())) != input.size())
                return {};
        }
        p.start(QStringLiteral(LM740CTL_PROGRAM), arguments);
        if (!terminal)
            p.write(input);
        p.closeWriteChannel();
        CtlRun r;
        const bool finished = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit;
        if (finished) {
            r.status = p.exitCode();
            r.out = p.readAllStandardOutput();
            r.err = p.readAllStandardError();
        }
        if (terminal) {
            ::close(slave);
            char buffer[4096];
            for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
                r.err += QByteArray(buffer, n);
            ::close(master);
            r.err.replace("\r\n", "\n");
        }
        return r;
    }

    // The backups restore made, oldest first.
    QStringList backups() const
    {
        const QDir folder(path(QStringLiteral("data/lm740/backups")));
        QStringList names;
        for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
            names << folder.filePath(name);
        return names;
    }

    QByteArray read(const QString &name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
};

// The checks every table row makes: the exit status, and for a failure exactly one line on stderr.
#define CTL_CHECK(run, expectedStatus, outPart, errPart)                                           \
    do {                                                                                           \
        const CtlRun r_ = (run);                                                                   \
        QVERIFY2(r_.status == (expectedStatus), r_.err.constData());                               \
        QVERIFY2(r_.out.contains(outPart), r_.out.constData());                                    \
        QVERIFY2(r_.err.contains(errPart), r_.err.constData());                                    \
        if ((expectedStatus) != 0)                                                                 \
            QCOMPARE(r_.err.count('\n'), 1);                                                       \
    } while (false)
