// The program's command line and its ending: --help and --version answer without a display,
// wrong arguments and simulator files that could not be kept are refused before the window, and
// --simulator=FILE keeps the simulated controller's memory in FILE across runs, also when the
// program is ended by SIGTERM, SIGINT or SIGHUP.
#include "version.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

class TstCommandLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void helpAndVersionNeedNoDisplay();
    void wrongArgumentsAreRefusedBeforeTheWindow();
    void wrongArgumentsAreRefusedBeforeTheWindow_data();
    void signalEndsTheProgramAndSavesTheSimulator();
    void signalEndsTheProgramAndSavesTheSimulator_data();
    void unreadableSimulatorFileIsLeftAlone();

private:
    // What the program keeps between runs goes here, never into the user's own settings.
    QTemporaryDir m_config;
    QProcessEnvironment environment(bool display) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", m_config.path());
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
    QVERIFY(help.contains("--simulator-faults=LIST"));

    p.start(LM740_PROGRAM, {"--version"});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(p.readAllStandardOutput(), QByteArray("lm740 " LM740_VERSION "\n"));
}

void TstCommandLine::wrongArgumentsAreRefusedBeforeTheWindow_data()
{
    QTest::addColumn<QStringList>("arguments"); // FILE stands for a file in an empty folder
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("message");
    const QByteArray usage = "Usage: lm740";
    QTest::newRow("misspelt option") << QStringList{"--simulater"} << "" << 2 << usage;
    QTest::newRow("empty file name") << QStringList{"--simulator="} << "" << 2 << usage;
    QTest::newRow("one dash") << QStringList{"-simulator"} << "" << 2 << usage;
    QTest::newRow("two characters") << QStringList{"-x"} << "" << 2 << usage;
    QTest::newRow("faults without the simulator")
        << QStringList{"--simulator-faults=fail=0.3"} << "" << 2
        << QByteArray("--simulator-faults needs --simulator");
    QTest::newRow("malformed faults")
        << QStringList{"--simulator", "--simulator-faults=latency=1,fail=1.5@3"} << "" << 2
        << QByteArray("--simulator-faults: 'fail=1.5@3': the probability");
    QTest::newRow("file after a space")
        << QStringList{"--simulator", "FILE"} << "" << 2 << QByteArray("--simulator=FILE");
    QTest::newRow("FIFO") << QStringList{"--simulator=FILE"} << "fifo" << 1
                          << QByteArray("not a regular file");
    QTest::newRow("folder") << QStringList{"--simulator=FILE"} << "folder" << 1
                            << QByteArray("not a regular file");
    QTest::newRow("name not UTF-8")
        << QStringList{"--simulator=FILE"} << "latin-1 name" << 1 << QByteArray("not valid UTF-8");
    QTest::newRow("missing folder") << QStringList{"--simulator=FILE"} << "missing folder" << 1
                                    << QByteArray("could not be written back");
    QTest::newRow("read-only file") << QStringList{"--simulator=FILE"} << "read-only file" << 1
                                    << QByteArray("could not be written back");
    QTest::newRow("read-only folder") << QStringList{"--simulator=FILE"} << "read-only folder" << 1
                                      << QByteArray("could not be written back");
}

void TstCommandLine::wrongArgumentsAreRefusedBeforeTheWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, setUp);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, message);
    // The superuser may write anywhere: the program then runs as nobody, for whom the folder is
    // another's.
    const bool asNobody = setUp.startsWith("read-only") && ::geteuid() == 0;
    QTemporaryDir dir;
    QByteArray file = QFile::encodeName(dir.filePath("controller.set"));
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::ExeOther;
    if (setUp == "fifo") {
        QCOMPARE(::mkfifo(file.constData(), 0600), 0);
    } else if (setUp == "folder") {
        QVERIFY(QDir(dir.path()).mkdir("controller.set"));
    } else if (setUp == "latin-1 name") {
        file = QFile::encodeName(dir.filePath("kontroler-")) + "\xf3\xb3.set";
    } else if (setUp == "missing folder") {
        file = QFile::encodeName(dir.filePath("missing/controller.set"));
    } else if (setUp == "read-only file") {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(131072, '\0'));
        f.close();
        QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        if (asNobody)
            QVERIFY(QFile::setPermissions(dir.path(), readOnly | QFile::WriteOwner |
                                                          QFile::WriteGroup | QFile::WriteOther));
    } else if (setUp == "read-only folder") {
        QVERIFY(QFile::setPermissions(dir.path(), readOnly));
    }
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    // Through the shell, which hands the program the file name's bytes as they are.
    QString command = "FILE=\"$(printf '";
    for (const char byte : file)
        command += QString::asprintf("\\%03o", quint8(byte));
    command += "')\"; exec ";
    if (asNobody)
        command += "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    command += "\"$0\"";
    for (const QString &a : arguments)
        command += " '" + QString(a).replace("FILE", "'\"$FILE\"'") + "'";
    QProcess p;
    p.setProcessEnvironment(environment(false));
    p.start("/bin/sh", {"-c", command, LM740_PROGRAM});
    QVERIFY(p.waitForFinished(30000));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), exitCode);
    const QByteArray error = p.readAllStandardError();
    QVERIFY2(error.contains(message), error.constData());
    // Nothing was made or left beside what was there.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

void TstCommandLine::signalEndsTheProgramAndSavesTheSimulator_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QStringList>("qtOptions");
    QTest::newRow("SIGTERM, new file") << int(SIGTERM) << false << QStringList();
    QTest::newRow("SIGINT, existing file") << int(SIGINT) << true << QStringList();
    QTest::newRow("SIGHUP, existing file") << int(SIGHUP) << true << QStringList();
    QTest::newRow("a flaky simulator")
        << int(SIGTERM) << false
        << QStringList({"--platform", "offscreen",
                        "--simulator-faults=fail=0.3@7,latency=0.1,short=0.01,unplug=50:2"});
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
    // The window's place was kept, apart from what runs on a real controller keep.
    QVERIFY(QFile::exists(m_config.filePath("lm740/simulator.conf")));
    QVERIFY(!QFile::exists(m_config.filePath("lm740/lm740.conf")));
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
