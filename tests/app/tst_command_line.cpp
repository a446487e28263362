// The program's command line and its ending: --help and --version answer without a display,
// unknown options are refused, and --simulator=FILE keeps the simulated controller's memory in
// FILE across runs, also when the program is ended by SIGTERM or SIGINT.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class TstCommandLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void helpAndVersionNeedNoDisplay();
    void unknownOptionIsRefused();
    void signalEndsTheProgramAndSavesTheSimulator();
    void signalEndsTheProgramAndSavesTheSimulator_data();
    void unreadableSimulatorFileIsLeftAlone();

private:
    QProcessEnvironment environment(bool display) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        if (display)
            env.insert("QT_QPA_PLATFORM", "offscreen");
        else
            env.remove("QT_QPA_PLATFORM");
        env.insert("QT_LOGGING_RULES", "lm740.app.debug=true");
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        return env;
    }
};

void TstCommandLine::helpAndVersionNeedNoDisplay()
{
    QProcess p;
    p.setProcessEnvironment(environment(false));
    p.start(LM740_PROGRAM, {"--help"});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    const QByteArray help = p.readAllStandardOutput();
    QVERIFY(help.startsWith("Usage: lm740"));
    QVERIFY(help.contains("--simulator=FILE"));
    QVERIFY(help.contains("--version"));

    p.start(LM740_PROGRAM, {"--version"});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(p.readAllStandardOutput(), QByteArray("lm740 1.07\n"));
}

void TstCommandLine::unknownOptionIsRefused()
{
    QProcess p;
    p.setProcessEnvironment(environment(false));
    for (const char *option : {"--simulater", "--simulator="}) {
        p.start(LM740_PROGRAM, {option});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(p.readAllStandardError().contains("unknown option"));
    }
}

void TstCommandLine::signalEndsTheProgramAndSavesTheSimulator_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QStringList>("qtOptions");
    QTest::newRow("SIGTERM, new file") << int(SIGTERM) << false << QStringList();
    QTest::newRow("SIGINT, existing file") << int(SIGINT) << true << QStringList();
    // Qt takes its own options with two dashes too; they are not ours to refuse.
    QTest::newRow("Qt's options with two dashes")
        << int(SIGTERM) << false << QStringList({"--platform", "offscreen", "--style=fusion"});
}

void TstCommandLine::signalEndsTheProgramAndSavesTheSimulator()
{
    QFETCH(int, signalNumber);
    QFETCH(bool, fileExists);
    QFETCH(QStringList, qtOptions);
    QTemporaryDir dir;
    const QString file = dir.filePath("controller.set");
    if (fileExists) {
        QByteArray image(131072, '\0');
        image[2] = char(77); // the controller's lamps number
        image[0x1FFFF] = char(0x5A);
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(image);
    }

    QProcess p;
    p.setProcessEnvironment(environment(qtOptions.isEmpty()));
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(LM740_PROGRAM, qtOptions + QStringList{"--simulator=" + file});
    QVERIFY(p.waitForStarted(30000));
    // The window's last construction trace says that the loop is about to run and the signal
    // handler is in place.
    QByteArray output;
    while (!output.contains("QMainWindow(parent) End")) {
        QVERIFY2(p.waitForReadyRead(30000), output.constData());
        output += p.readAll();
    }
    ::kill(pid_t(p.processId()), signalNumber);
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);

    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray image = saved.readAll();
    QCOMPARE(image.size(), 131072);
    QCOMPARE(int(quint8(image[2])), fileExists ? 77 : 30);
    QCOMPARE(int(quint8(image[0x1FFFF])), fileExists ? 0x5A : 0);
}

void TstCommandLine::unreadableSimulatorFileIsLeftAlone()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("short.set");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(100, 'x'));
    f.close();

    QProcess p;
    p.setProcessEnvironment(environment(true));
    p.start(LM740_PROGRAM, {"--simulator=" + file});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(p.readAllStandardError().contains("short.set"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray(100, 'x'));
}

QTEST_GUILESS_MAIN(TstCommandLine)
#include "tst_command_line.moc"
