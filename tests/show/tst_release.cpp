// Release numbers of version texts, as the controller and the upgrade files write them.
#include "release.h"

#include <QtTest>

class TstRelease : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void releaseNumber();
    void releaseNumber_data();
};

void TstRelease::releaseNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    QTest::newRow("rel_1_05") << "rel_1_05" << 105;
    QTest::newRow("rel_0_16") << "rel_0_16" << 16;
    QTest::newRow("one-digit minor") << "rel_2_7" << 207;
    QTest::newRow("two digits before the release win") << "fw12_1_05" << 112;
    QTest::newRow("fw_1_05") << "fw_1_05" << 105;
    QTest::newRow("trailing text") << "Lm_0_15 build" << 15;
    QTest::newRow("no release") << "Lm740" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("two-digit major is not a release") << "rel_10_5" << -1;
    QTest::newRow("case and separators matter") << "rel-1-05" << -1;
}

void TstRelease::releaseNumber()
{
    QFETCH(QString, text);
    QFETCH(int, number);
    QCOMPARE(lm740::releaseNumber(text), number);
}

QTEST_GUILESS_MAIN(TstRelease)
#include "tst_release.moc"
