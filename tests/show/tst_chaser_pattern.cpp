// The chaser's starting frame: the worked examples, the cut at the last lamp, and agreement with
// the plain lay-the-pattern-down loop over every small shape.
#include "chaser_pattern.h"
#include "color_arrays.h"

#include <QtTest>

#include <climits>
#include <vector>

using namespace lm740;
using testcolors::lampNumbersOf;
using testcolors::numberedColors;

namespace {

// The loop as a user thinks of it: copy the row, then lay the pattern down R times from lamp 0.
QList<int> layDown(int lamps, int p, int r)
{
    QList<int> out;
    for (int i = 0; i < lamps; ++i)
        out << i;
    int k = 0;
    for (int rep = 0; rep < r; ++rep)
        for (int j = 0; j < p; ++j)
            if (k < lamps)
                out[k++] = j;
    return out;
}

} // namespace

class TstChaserPattern : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void examples_data();
    void examples();
    void agreesWithLayingThePatternDown();
    void extremeInputsStayInsideTheRow();
};

void TstChaserPattern::examples_data()
{
    QTest::addColumn<int>("lamps");
    QTest::addColumn<int>("patternLen");
    QTest::addColumn<int>("repeat");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("3x2 leaves the tail") << 8 << 3 << 2 << QList<int>{0, 1, 2, 0, 1, 2, 6, 7};
    QTest::newRow("3x5 cut at the last lamp") << 8 << 3 << 5 << QList<int>{0, 1, 2, 0, 1, 2, 0, 1};
    QTest::newRow("empty pattern") << 8 << 0 << 9 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7};
    QTest::newRow("whole row once") << 8 << 8 << 1 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7};
    QTest::newRow("one lamp everywhere") << 8 << 1 << 8 << QList<int>{0, 0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("pattern longer than the row") << 30 << 170 << 1 << layDown(30, 0, 1);
    QTest::newRow("no lamps") << 0 << 3 << 3 << QList<int>{};
    QTest::newRow("170 lamps, 10 x 17") << 170 << 10 << 17 << layDown(170, 10, 17);
}

void TstChaserPattern::examples()
{
    QFETCH(int, lamps);
    QFETCH(int, patternLen);
    QFETCH(int, repeat);
    QFETCH(QList<int>, expected);

    const ColorArray colors = numberedColors();
    std::vector<QColor> preview(lamps);
    chaserPattern(colors.data(), lamps, patternLen, repeat, preview.data());
    QCOMPARE(lampNumbersOf(preview), expected);
    // The whole colour is copied, not only the channel the test reads.
    for (int i = 0; i < lamps; ++i)
        QCOMPARE(preview[i], colors[expected[i]]);
}

void TstChaserPattern::agreesWithLayingThePatternDown()
{
    for (int lamps = 0; lamps <= 13; ++lamps) {
        const ColorArray colors = numberedColors();
        for (int p = 0; p <= 15; ++p) {
            for (int r = 1; r <= 15; ++r) {
                std::vector<QColor> preview(lamps);
                chaserPattern(colors.data(), lamps, p, r, preview.data());
                if (lampNumbersOf(preview) != layDown(lamps, p, r)) {
                    const QByteArray msg = "lamps " + QByteArray::number(lamps) + " P " +
                                           QByteArray::number(p) + " R " + QByteArray::number(r);
                    QFAIL(msg.constData());
                }
            }
        }
    }
}

void TstChaserPattern::extremeInputsStayInsideTheRow()
{
    // Whatever a caller hands in, every source index is a lamp of the row: a wrap of R x P or a
    // negative setting must never send the preview to read outside the colours.
    const int shapes[][2] = {{INT_MAX, INT_MAX}, {INT_MAX, 2}, {2, INT_MAX}, {-3, 4}, {4, -3},
                             {-1, -1},           {170, 170}};
    for (const auto &s : shapes) {
        for (int i = 0; i < 170; ++i) {
            const int src = chaserSourceLamp(i, 170, s[0], s[1]);
            QVERIFY2(
                src >= 0 && src < 170,
                qPrintable(QString("P %1 R %2 lamp %3 -> %4").arg(s[0]).arg(s[1]).arg(i).arg(src)));
        }
    }
    QCOMPARE(chaserSourceLamp(100, 170, INT_MAX, INT_MAX), 100); // pattern longer than the row
    QCOMPARE(chaserSourceLamp(100, 170, 3, INT_MAX), 1);
    QCOMPARE(chaserSourceLamp(7, 170, -3, 4), 7);
    // Positions outside the row map to themselves; the caller never asks for them.
    QCOMPARE(chaserSourceLamp(170, 170, 3, 100), 170);
}

QTEST_APPLESS_MAIN(TstChaserPattern)
#include "tst_chaser_pattern.moc"
