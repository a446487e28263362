// lm740ctl's command line and its device commands, run for real against the simulated controller
// and its faults: every exit status, the numbers it refuses, what reaches the controller's memory.
#include "ctl_rig.h"
#include "file_size_limit.h"

class TstCtlDevice : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void command_data();
    void command();
    void settingsReachTheControllerMemory();
    void noUpgradeRequestAfterARefusal();
};

void TstCtlDevice::command_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    const QString sim = QStringLiteral("%c");
    auto fault = [](const char *list) { return QStringLiteral("--simulator-faults=") + list; };
    auto row = [](const char *name, QStringList args, int status, const char *out = "",
                  const char *err = "") {
        QTest::newRow(name) << args << status << QByteArray(out) << QByteArray(err);
    };

    row("help", {"--help"}, 0, "run scene|chaser|program N");
    row("version", {"--version"}, 0, "lm740ctl 1.07\n");
    row("no command", {}, 2, "", "no command given");
    row("unknown command", {sim, "frob"}, 2, "", "unknown command \"frob\"");
    row("unknown option", {"--frob", "info"}, 2, "", "Unknown option 'frob'");
    row("simulator without file name", {"--simulator=", "info"}, 2, "", "needs a file name");
    row("unknown fault", {sim, fault("frob"), "info"}, 2, "", "--simulator-faults: 'frob'");
    row("fault without simulator", {fault("absent"), "info"}, 2, "", "needs --simulator");

    row("info", {sim, "info"}, 0, "firmware:     rel_0_16 (release 16)\nlamps:        30\n");
    row("info, older firmware", {sim, fault("release=rel_0_15"), "info"}, 0,
        "(release 15; this program is made for release 16)");
    row("info, no controller", {sim, fault("absent"), "info"}, 1, "", "no Lm740 found");
    row("info, no permission", {sim, fault("no-permission"), "info"}, 1, "", "udev rule");
    row("info, another device", {sim, fault("other-device"), "info"}, 1, "",
        "answered as another device");
    row("info, identification lost once", {sim, fault("refuse=id:1"), "info"}, 0, "lamps:");
    row("info, identification never answered", {sim, fault("refuse=id:3"), "info"}, 1, "",
        "did not answer when asked what it is");
    row("info, no version", {sim, fault("refuse=version:1"), "info"}, 1, "", "firmware version");
    row("info, memory unreadable", {sim, fault("refuse=read-memory:100"), "info"}, 1, "",
        "could not read the lamp count");
    row("info takes no arguments", {sim, "info", "x"}, 2, "", "no arguments");
    row("info names the number-now byte", {sim, "info"}, 0,
        "(header byte 8, as stored; not the item that plays)\n");
    row("info, upgrade mode", {sim, fault("upgrade-mode"), "info"}, 1, "",
        "waits in its upgrade mode");
    row("get, upgrade mode", {sim, fault("upgrade-mode"), "get", "lamps"}, 1, "",
        "waits in its upgrade mode");

    // Usage and files are checked before the controller is looked for.
    const QString none = fault("absent");
    row("scene 0, no controller", {sim, none, "run", "scene", "0"}, 2, "", "there is no scene 0");
    row("get what, no controller", {sim, none, "get", "x"}, 2, "", "unknown setting");
    row("set lamps 0, no controller", {sim, none, "set", "lamps", "0"}, 2, "", "from 1 to 170");
    row("blackout x, no controller", {sim, none, "blackout", "x"}, 2, "", "no arguments");
    row("backup, no file, no controller", {sim, none, "backup"}, 2, "", "backup takes");
    row("backup, no folder, no controller", {sim, none, "backup", "%d/none/b.set"}, 1, "",
        "none/b.set: No such file or directory");
    row("restore, no file, no controller", {sim, none, "restore"}, 2, "", "restore takes");
    row("restore, missing file, no controller", {sim, none, "restore", "%d/none.set"}, 1, "",
        "none.set: No such file or directory");
    row("upgrade, missing file, no controller", {sim, none, "upgrade", "%d/none.upg"}, 1, "",
        "none.upg: No such file or directory");
    row("--onto elsewhere", {sim, "--onto", "%d/x.set", "info"}, 2, "", "only import takes");

    row("run scene 1", {sim, "run", "scene", "1"}, 0);
    row("run scene 10", {sim, "run", "scene", "10"}, 0);
    row("run chaser 4", {sim, "run", "chaser", "4"}, 0);
    row("run program 4", {sim, "run", "program", "4"}, 0);
    row("scene 0 is refused", {sim, "run", "scene", "0"}, 2, "", "there is no scene 0");
    row("scene 11 is refused", {sim, "run", "scene", "11"}, 2, "", "numbered 1 to 10");
    row("chaser 5 is refused", {sim, "run", "chaser", "5"}, 2, "", "numbered 1 to 4");
    row("program +1 is refused", {sim, "run", "program", "+1"}, 2, "", "there is no program");
    row("negative number", {sim, "run", "scene", "-1"}, 2, "", "negative");
    row("run what", {sim, "run", "lamp", "1"}, 2, "", "cannot run \"lamp\"");
    row("run without number", {sim, "run", "scene"}, 2, "", "run takes");
    row("run refused", {sim, fault("refuse=run-program:1"), "run", "program", "2"}, 1, "",
        "did not take the command to run program 2");
    row("blackout", {sim, "blackout"}, 0);
    row("blackout refused", {sim, fault("refuse=blackout:1"), "blackout"}, 1, "", "blackout");

    row("get lamps", {sim, "get", "lamps"}, 0, "30\n");
    row("get scene time", {sim, "get", "scene-time"}, 0, "1\n");
    row("get color mode", {sim, "get", "color-mode"}, 0, "0\n");
    row("get what", {sim, "get", "colour"}, 2, "", "unknown setting \"colour\"");
    row("get unreadable", {sim, fault("refuse=read-memory:100"), "get", "lamps"}, 1, "",
        "lamp count");
    row("set lamps 171", {sim, "set", "lamps", "171"}, 2, "", "from 1 to 170");
    row("set scene time 0", {sim, "set", "scene-time", "0"}, 2, "", "from 1 to 60");
    row("set color mode 256", {sim, "set", "color-mode", "256"}, 2, "", "from 0 to 255");
    row("set lamps 1x", {sim, "set", "lamps", "1x"}, 2, "", "\"1x\" is no lamp count");
    row("set unwritable", {sim, fault("refuse=write-byte:100"), "set", "lamps", "5"}, 1, "",
        "could not set the lamp count");
}

void TstCtlDevice::command()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    CtlRig rig;
    const CtlRun r = rig.run(arguments);
    CTL_CHECK(r, status, out, err);
}

void TstCtlDevice::settingsReachTheControllerMemory()
{
    CtlRig rig;
    QCOMPARE(rig.run({"%c", "set", "lamps", "170"}).status, 0);
    QCOMPARE(rig.run({"%c", "set", "scene-time", "60"}).status, 0);
    QCOMPARE(rig.run({"%c", "set", "color-mode", "255"}).status, 0);
    QCOMPARE(rig.run({"%c", "get", "lamps"}).out, QByteArray("170\n"));
    const QByteArray memory = rig.read("controller.set");
    QCOMPARE(memory.size(), 131072);
    QCOMPARE(quint8(memory[2]), quint8(170));
    QCOMPARE(quint8(memory[13]), quint8(60));
    QCOMPARE(quint8(memory[12]), quint8(255));

    // A memory file the simulator cannot use is refused and left as it was.
    QVERIFY(rig.write("controller.set", "short"));
    CTL_CHECK(rig.run({"%c", "info"}), 1, "", "controller.set");
    QCOMPARE(rig.read("controller.set"), QByteArray("short"));

    // A disk that fills up keeps the memory as it was, and says why it could not be saved.
    QVERIFY(rig.write("controller.set", memory));
    {
        FileSizeLimit full(1000);
        CTL_CHECK(rig.run({"%c", "set", "lamps", "9"}), 1, "", "controller.set: File too large");
        // What changes nothing in the memory does not write it: one line, about its own file.
        CTL_CHECK(rig.run({"%c", "info"}), 0, "lamps:", "");
        CTL_CHECK(rig.run({"%c", "backup", "%d/b.set"}), 1, "", "b.set: File too large");
    }
    QCOMPARE(rig.read("controller.set"), memory);
    // Used wrongly, it makes no file.
    CTL_CHECK(rig.run({"--simulator=%d/new.set", "run", "scene", "0"}), 2, "", "no scene 0");
    QVERIFY(!QFileInfo::exists(rig.path("new.set")));
}

void TstCtlDevice::noUpgradeRequestAfterARefusal()
{
    CtlRig rig;
    rig.environment << "QT_LOGGING_RULES=lm740.sim.debug=true";
    const CtlRun r = rig.run({"%c", "--simulator-faults=upgrade-mode", "run", "scene", "1"});
    QStringList sent;
    for (const QByteArray &line : r.err.split('\n'))
        if (line.startsWith("lm740.sim: request "))
            sent << line.split(' ').at(2);
    QCOMPARE(sent, QStringList({"255", "16", "255"})); // found, refused, still there
}

QTEST_GUILESS_MAIN(TstCtlDevice)
#include "tst_ctl_device.moc"
