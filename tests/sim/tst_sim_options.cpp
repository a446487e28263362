// The simulated controller's faults from the command line: the list's syntax with its refusals,
// and what each setting does to the controller on its bus.
#include "sim_options.h"
#include "sim_rig.h"

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

QTEST_MAIN(TstSimOptions)
#include "tst_sim_options.moc"
