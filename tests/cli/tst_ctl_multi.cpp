// lm740ctl with several controllers: list, the choice by --device or LM740_DEVICE, the refusal to
// guess, and a command reaching only the chosen controller's memory; then diff over shows kept as
// .set files and exported folders, with its exit statuses.
#include "ctl_rig.h"

class TstCtlMulti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void choosing_data();
    void choosing();
    void diff_data();
    void diff();
};

namespace {
const QStringList kMemories{"a.set", "b.set", "c.set"};
}

void TstCtlMulti::choosing_data()
{
    // Three simulated controllers, a b c, the second with an older firmware, the first and the
    // third with one serial number.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("environment");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<QString>("changed"); // the memories that set lamps 12 reached
    auto row = [](const char *name, QStringList args, const char *env, int status, const char *out,
                  const char *err, const char *changed = "") {
        QTest::newRow(name) << args << QString::fromLatin1(env) << status << QByteArray(out)
                            << QByteArray(err) << QString::fromLatin1(changed);
    };
    const QStringList set{"set", "lamps", "12"};
    row("list", {"list"}, "", 0,
        "1-1  rel_0_16  serial TWIN\n1-2  rel_0_15\n1-3  rel_0_16  serial TWIN\n", "");
    row("list as JSON", {"--json", "list"}, "", 0, "\"port\": \"1-2\",\n        \"release\": 15",
        "");
    row("list takes no --device", QStringList{"--device=1-1", "list"}, "", 2, "",
        "takes no --device");
    row("no choice: refused, with the list", set, "", 2, "",
        "3 Lm740s are connected; choose one with --device=NAME (or LM740_DEVICE=NAME), NAME "
        "being its port or serial number:\n  1-1  rel_0_16  serial TWIN\n  1-2  rel_0_15\n  1-3  "
        "rel_0_16  serial TWIN\n");
    row("two connected: refused too",
        QStringList{"--simulator=%d/a.set", "--simulator=%d/c.set"} + set, "", 2, "",
        "2 Lm740s are connected; choose one");
    row("a serial number two share", QStringList{"--device=TWIN"} + set, "", 2, "",
        "2 Lm740s answer to the name TWIN; choose one by its port:\n  1-1  rel_0_16  serial TWIN\n"
        "  1-3  rel_0_16  serial TWIN\n");
    row("by --device", QStringList{"--device=1-2"} + set, "", 0, "", "", "b");
    row("info names the port", {"--device=1-3", "info"}, "", 0,
        "id:           740\nport:         1-3\n", "");
    row("by LM740_DEVICE", set, "LM740_DEVICE=1-3", 0, "", "", "c");
    row("--device over LM740_DEVICE", QStringList{"--device", "1-1"} + set, "LM740_DEVICE=1-3", 0,
        "", "", "a");
    row("no such name", QStringList{"--device=1-9"} + set, "", 1, "",
        "no Lm740 is named 1-9; connected: 1-1, 1-2, 1-3");
    row("empty name", QStringList{"--device="} + set, "", 2, "", "--device needs a name");
    row("files take no --device", {"--device=1-1", "show", "x.set"}, "", 2, "",
        "show reaches no one controller and takes no --device");
}

void TstCtlMulti::choosing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, environment);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QFETCH(QString, changed);
    CtlRig rig;
    const QStringList simulators{"--simulator=%d/a.set", "--simulator-faults=serial=TWIN",
                                 "--simulator=%d/b.set", "--simulator-faults=release=rel_0_15",
                                 "--simulator=%d/c.set", "--simulator-faults=serial=TWIN"};
    // A first run makes the three memories.
    QCOMPARE(rig.run(simulators + QStringList{"--device=1-1", "info"}).status, 0);
    QList<QByteArray> before;
    for (const QString &m : kMemories)
        before << rig.read(m);
    if (!environment.isEmpty())
        rig.environment << environment;
    // A row that names files or its own simulators is run as it is.
    const bool asItIs = arguments.contains(QLatin1String("show")) ||
                        arguments.first().startsWith(QLatin1String("--simulator"));
    const CtlRun r = rig.run(asItIs ? arguments : simulators + arguments);
    QVERIFY2(r.status == status, r.err.constData());
    QVERIFY2(r.out.contains(out), r.out.constData());
    QVERIFY2(r.err.contains(err), r.err.constData());
    for (int i = 0; i < kMemories.size(); ++i) {
        const QByteArray after = rig.read(kMemories[i]);
        const bool reached = changed.contains(QLatin1Char(char('a' + i)));
        QCOMPARE(after.size(), before[i].size());
        // The others' memories are the same byte for byte.
        QCOMPARE(after == before[i], !reached);
        if (reached)
            QCOMPARE(quint8(after.at(2)), quint8(12));
    }
}

void TstCtlMulti::diff_data()
{
    // "%d/base.set" is a fresh show, "%d/base" its export, "%d/changed.set" the same show with
    // lamps 12 and scene time 5, "%d/changed" its export.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    auto row = [](const char *name, QStringList args, int status, const char *out,
                  const char *err = "") {
        QTest::newRow(name) << args << status << QByteArray(out) << QByteArray(err);
    };
    row("the same file", {"diff", "%d/base.set", "%d/base.set"}, 0, "");
    row("a file and its export", {"diff", "%d/base.set", "%d/base"}, 0, "");
    row("different", {"diff", "%d/base.set", "%d/changed.set"}, 1,
        "lamp count 30 -> 12\nglobal scene time 1 -> 5 s\n");
    row("different folders", {"diff", "%d/changed", "%d/base"}, 1,
        "lamp count 12 -> 30\nglobal scene time 5 -> 1 s\n");
    row("as JSON", {"diff", "--json", "%d/base", "%d/changed.set"}, 1,
        "\"field\": \"lamp count\",\n        \"from\": \"30\",\n        \"text\": \"lamp count 30 "
        "-> 12\",\n        \"to\": \"12\"");
    row("same, as JSON", {"--json", "diff", "%d/base", "%d/base"}, 0, "[\n]\n");
    row("missing file", {"diff", "%d/base.set", "%d/none.set"}, 2, "", "none.set");
    row("folder without files", {"diff", "%d/empty", "%d/base.set"}, 2, "", "scenes.scs");
    row("one show", {"diff", "%d/base.set"}, 2, "", "diff takes two shows");
    row("no simulator", {"--simulator", "diff", "%d/base.set", "%d/base.set"}, 2, "",
        "diff works on files");
}

void TstCtlMulti::diff()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    CtlRig rig;
    QVERIFY(QDir(rig.dir.path()).mkpath(QStringLiteral("empty")));
    QCOMPARE(rig.run({"--simulator=%d/base.set", "info"}).status, 0);
    QCOMPARE(rig.run({"--simulator=%d/changed.set", "set", "lamps", "12"}).status, 0);
    QCOMPARE(rig.run({"--simulator=%d/changed.set", "set", "scene-time", "5"}).status, 0);
    QCOMPARE(rig.run({"export", "%d/base.set", "%d/base"}).status, 0);
    QCOMPARE(rig.run({"export", "%d/changed.set", "%d/changed"}).status, 0);
    const CtlRun r = rig.run(arguments);
    QVERIFY2(r.status == status, r.err.constData());
    QVERIFY2(out.isEmpty() ? r.out.isEmpty() : r.out.contains(out), r.out.constData());
    QVERIFY2(r.err.contains(err), r.err.constData());
    if (status == 2)
        QCOMPARE(r.err.count('\n'), 1);
}

QTEST_MAIN(TstCtlMulti)
#include "tst_ctl_multi.moc"
