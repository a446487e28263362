// The simulated controller's faults from the command line: the list's syntax with its refusals,
// and what each setting does to the controller on its bus.
#include "sim_options.h"
#include "sim_rig.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace lm740;

class TstSimOptions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
    void faultsReachTheController();
    void unplugAndPlugBack();
    void severalSimulators_data();
    void severalSimulators();
    void eachSimulatorHasItsSocketMemoryAndFaults();
};

void TstSimOptions::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error"); // empty when the list is good
    QTest::addColumn<double>("fail");
    QTest::addColumn<uint>("seed");
    QTest::addColumn<int>("unplugAfter");
    QTest::newRow("all") << "fail=0.3@7,latency=1.5,short=0.01,unplug=500:5,release=rel_0_15"
                         << "" << 0.3 << 7u << 500;
    QTest::newRow("seed left out") << "fail=1"
                                   << "" << 1.0 << 1u << 0;
    QTest::newRow("probability above 1") << "fail=1.5"
                                         << "'fail=1.5': the probability" << 0.0 << 1u << 0;
    QTest::newRow("bad seed") << "fail=0.1@x"
                              << "'fail=0.1@x': the seed" << 0.0 << 1u << 0;
    QTest::newRow("negative latency") << "latency=-1"
                                      << "'latency=-1': the latency" << 0.0 << 1u << 0;
    QTest::newRow("latency not a number") << "latency=nan"
                                          << "'latency=nan': the latency" << 0.0 << 1u << 0;
    QTest::newRow("unplug without M") << "unplug=5"
                                      << "'unplug=5': expected unplug=N:M" << 0.0 << 1u << 0;
    QTest::newRow("unplug at 0") << "unplug=0:1"
                                 << "'unplug=0:1': expected" << 0.0 << 1u << 0;
    QTest::newRow("long release") << "release=" + QString(33, 'x') << "at most 32" << 0.0 << 1u
                                  << 0;
    QTest::newRow("serial with a space") << "serial=A 1"
                                         << "'serial=A 1': the serial number" << 0.0 << 1u << 0;
    QTest::newRow("refuse a request by code") << "refuse=255:1"
                                              << "" << 0.0 << 1u << 0;
    QTest::newRow("refuse a code past a byte")
        << "refuse=256:1"
        << "'refuse=256:1': expected refuse=" << 0.0 << 1u << 0;
    QTest::newRow("unknown") << "fail=0.1,speed=3"
                             << "'speed=3': unknown setting" << 0.0 << 1u << 0;
    QTest::newRow("no value") << "short"
                              << "'short': expected name=value" << 0.0 << 1u << 0;
    QTest::newRow("trailing comma") << "short=0.1,"
                                    << "'': expected name=value" << 0.0 << 1u << 0;
}

void TstSimOptions::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, error);
    QFETCH(double, fail);
    QFETCH(uint, seed);
    QFETCH(int, unplugAfter);
    SimOptions o;
    o.failProbability = 0.9;
    QString why;
    QCOMPARE(SimOptions::parse(text, &o, &why), error.isEmpty());
    QVERIFY2(why.contains(error), qPrintable(why));
    if (!error.isEmpty()) {
        QCOMPARE(o.failProbability, 0.9); // a refused list changes nothing
        return;
    }
    QCOMPARE(o.failProbability, fail);
    QCOMPARE(o.seed, seed);
    QCOMPARE(o.unplugAfter, unplugAfter);
}

void TstSimOptions::faultsReachTheController()
{
    SimRig rig;
    SimOptions o;
    QVERIFY(SimOptions::parse("latency=0.002,short=1,release=rel_0_15", &o, nullptr));
    o.applyTo(rig.controller);
    QByteArray text;
    QCOMPARE(rig.link.readVersion(&text), 31); // one byte short
    rig.controller.setShortAnswerProbability(0);
    QCOMPARE(rig.link.readVersion(&text), 32);
    QCOMPARE(text, QByteArray("rel_0_15"));
    QCOMPARE(rig.controller.elapsedMicroseconds(), 4);

    QVERIFY(SimOptions::parse("fail=0.5@3", &o, nullptr));
    o.applyTo(rig.controller);
    int failures = 0;
    for (int i = 0; i < 200; ++i)
        failures += rig.link.getByte(0, 2, nullptr) != 1;
    // A failed request also closes the link, and the reopening may fail as well.
    QVERIFY2(failures > 60 && failures < 180, qPrintable(QString::number(failures)));
}

void TstSimOptions::unplugAndPlugBack()
{
    SimRig rig;
    SimOptions o;
    QVERIFY(SimOptions::parse("unplug=3:2", &o, nullptr));
    o.applyTo(rig.controller);
    QList<int> results;
    for (int i = 0; i < 4; ++i)
        results << rig.link.getByte(0, 2, nullptr);
    // Three requests went through; then it is gone, from the transfers and from the bus.
    QCOMPARE(results, (QList<int>{1, 1, 1, -1}));
    QVERIFY(rig.bus.listDevices().empty());
    // It comes back after two searches without it.
    int searches = 1;
    while (rig.device.open() != 0 && searches < 10)
        ++searches;
    QCOMPARE(searches, 2);
    QCOMPARE(rig.link.getByte(0, 2, nullptr), 1);
}

void TstSimOptions::severalSimulators_data()
{
    // The command line as a list: "=FILE" or "=" is a simulator, anything else a list of faults.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("result"); // "FILE:faults FILE:faults", or the start of the error
    QTest::newRow("one, faults after") << QStringList{"=a", "absent"} << "a:absent";
    QTest::newRow("one, faults before") << QStringList{"absent", "="} << ":absent";
    QTest::newRow("each its own") << QStringList{"=a", "absent", "=b", "=c", "other-device"}
                                  << "a:absent b: c:other-device";
    QTest::newRow("faults before several")
        << QStringList{"absent", "=a", "=b"} << "with several simulators";
    QTest::newRow("two lists for one")
        << QStringList{"=a", "absent", "no-permission"} << "--simulator-faults is given twice";
    QTest::newRow("two lists, before and after")
        << QStringList{"absent", "=a", "absent"} << "--simulator-faults is given twice";
    QTest::newRow("two lists before")
        << QStringList{"absent", "absent", "=a"} << "--simulator-faults is given twice";
    QTest::newRow("faults alone") << QStringList{"absent"} << "--simulator-faults needs";
    QTest::newRow("bad faults") << QStringList{"=a", "=b", "frob"} << "--simulator-faults: 'frob'";
    QTest::newRow("bad faults before") << QStringList{"frob", "=b"} << "--simulator-faults: 'frob'";
    QTest::newRow("one file twice") << QStringList{"=a", "=b", "=a"} << "a is given to two";
    QTest::newRow("no file twice") << QStringList{"=", "="} << ": :";
}

void TstSimOptions::severalSimulators()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, result);
    SimulatorArguments parsed;
    for (const QString &a : arguments) {
        if (a.startsWith(QLatin1Char('=')))
            parsed.addSimulator(a.mid(1).toUtf8());
        else
            parsed.addFaults(a);
    }
    std::vector<SimulatorSetup> setups;
    QString error;
    if (!parsed.setups(&setups, &error)) {
        QVERIFY2(error.startsWith(result), qPrintable(error));
        return;
    }
    QStringList seen;
    for (const SimulatorSetup &setup : setups) {
        const SimOptions &f = setup.faults;
        seen << QString::fromUtf8(setup.file) + QLatin1Char(':') +
                    (f.absent         ? QStringLiteral("absent")
                     : f.otherDevice  ? QStringLiteral("other-device")
                     : f.noPermission ? QStringLiteral("no-permission")
                                      : QString());
    }
    QCOMPARE(seen.join(QLatin1Char(' ')), result);
}

void TstSimOptions::eachSimulatorHasItsSocketMemoryAndFaults()
{
    QTemporaryDir dir;
    const QByteArray a = QFile::encodeName(dir.filePath("a.set"));
    const QByteArray b = QFile::encodeName(dir.filePath("b.set"));
    QByteArray written;
    {
        SimulatorSession session;
        SimOptions absent;
        absent.absent = true;
        SimOptions older;
        QVERIFY(SimOptions::parse("release=rel_0_15", &older, nullptr));
        QVERIFY(session.start({{a, {}, false}, {{}, absent, true}, {b, older, true}}, nullptr));
        QCOMPARE(session.controllerCount(), 3);
        UsbDevice device(session.bus());
        device.setIds(usb::kVendorId, usb::kProductId);
        QStringList seen;
        for (const ControllerInfo &c : device.listControllers())
            seen << c.label();
        // The absent one keeps its socket empty; the others keep theirs.
        QCOMPARE(seen, QStringList({"1-1 (rel_0_16)", "1-3 (rel_0_15)"}));
        device.setName(QStringLiteral("1-3"));
        ControllerLink link(device);
        QCOMPARE(link.setByte(layout::kLampsNumber, 12), 1);
        QCOMPARE(session.controller(2).byteAt(layout::kLampsNumber), quint8(12));
        QCOMPARE(session.controller(0).byteAt(layout::kLampsNumber), quint8(30));
        QVERIFY(session.finish(nullptr));
    }
    QFile fa(QString::fromUtf8(a)), fb(QString::fromUtf8(b));
    QVERIFY(fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly));
    QCOMPARE(quint8(fa.readAll().at(layout::kLampsNumber)), quint8(30));
    QCOMPARE(quint8(fb.readAll().at(layout::kLampsNumber)), quint8(12));

    // A memory that cannot be read refuses its simulator, whichever place it has.
    fa.close();
    QVERIFY(QFile::resize(fa.fileName(), 10));
    SimulatorSession refused;
    QString error;
    QVERIFY(!refused.start({{b, {}, false}, {a, {}, false}}, &error));
    QVERIFY2(error.contains(QLatin1String("a.set")), qPrintable(error));
}

QTEST_MAIN(TstSimOptions)
#include "tst_sim_options.moc"
