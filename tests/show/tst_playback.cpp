// The preview's arithmetic: the colour at a moment of a cross-fade, the end of an item, a program's
// next step and the chaser's rotation.
#include "playback.h"

#include <QtTest>

using namespace lm740;
using namespace lm740::playback;

class TstPlayback : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fade_data();
    void fade();
    void nextStep_data();
    void nextStep();
    void rotation_data();
    void rotation();
};

void TstPlayback::fade_data()
{
    QTest::addColumn<quint32>("total");
    QTest::addColumn<quint32>("xfade");
    QTest::addColumn<quint32>("elapsed");
    QTest::addColumn<QColor>("from");
    QTest::addColumn<QColor>("to");
    QTest::addColumn<QColor>("shown");
    const QColor black(0, 0, 0), white(255, 255, 255);
    QTest::newRow("start") << 1000u << 100u << 0u << black << white << black;
    QTest::newRow("a third") << 1000u << 100u << 330u << black << white << QColor(84, 84, 84);
    QTest::newRow("last fading tick")
        << 1000u << 100u << 990u << black << white << QColor(252, 252, 252);
    QTest::newRow("at the fade's length")
        << 1000u << 100u << 1000u << black << white << QColor(254, 254, 254);
    QTest::newRow("past it") << 1000u << 100u << 1020u << black << white << white;
    // Downwards the division truncates toward zero, so the colour stays above the line.
    QTest::newRow("down") << 1000u << 100u << 330u << white << QColor(0, 100, 255)
                          << QColor(171, 204, 255);
    QTest::newRow("half fade") << 1000u << 50u << 270u << black << QColor(200, 0, 0)
                               << QColor(107, 0, 0);
    QTest::newRow("half fade over")
        << 1000u << 50u << 510u << black << QColor(200, 0, 0) << QColor(200, 0, 0);
    QTest::newRow("no fade") << 1000u << 0u << 30u << black << white << white;
    QTest::newRow("no fade, at the start")
        << 1000u << 0u << 0u << QColor(1, 2, 3) << white << QColor(1, 2, 3);
    QTest::newRow("long step, no overflow")
        << 6553500u << 255u << 16000000u << black << white << QColor(244, 244, 244);
}

void TstPlayback::fade()
{
    QFETCH(quint32, total);
    QFETCH(quint32, xfade);
    QFETCH(quint32, elapsed);
    QFETCH(QColor, from);
    QFETCH(QColor, to);
    QFETCH(QColor, shown);
    QCOMPARE(fadeColor(from, to, elapsed, fadeTime(total, xfade)), shown);
}

void TstPlayback::nextStep_data()
{
    QTest::addColumn<int>("lastMark");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("next");
    QTest::newRow("on") << -1 << 0 << 1;
    QTest::newRow("step 31 back to 1") << -1 << 30 << 0;
    QTest::newRow("marked step back to 1") << 3 << 3 << 0;
    QTest::newRow("before the marked step") << 3 << 2 << 3;
    QTest::newRow("beyond the marked step") << 3 << 9 << 10;
}

void TstPlayback::nextStep()
{
    QFETCH(int, lastMark);
    QFETCH(int, step);
    QFETCH(int, next);
    t_program program;
    if (lastMark >= 0)
        markLastStep(program, lastMark, true);
    QCOMPARE(nextProgramStep(program, step), next);
}

void TstPlayback::rotation_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("shown");
    QTest::newRow("left, one") << 1 << 1 << "..r";
    QTest::newRow("left, two") << 1 << 2 << ".r.";
    QTest::newRow("right, one") << 2 << 1 << ".r.";
    QTest::newRow("right, three") << 2 << 3 << "r..";
    QTest::newRow("unknown direction goes right") << 0 << 1 << ".r.";
}

void TstPlayback::rotation()
{
    QFETCH(int, direction);
    QFETCH(int, steps);
    QFETCH(QString, shown);
    ColorArray colors;
    setLampsBlack(colors);
    colors[0] = Qt::red;
    colors[3] = Qt::blue; // beyond the lamp count: never moves
    for (int i = 0; i < steps; ++i)
        rotateChaser(colors, 3, direction);
    QString s;
    for (int i = 0; i < 3; ++i)
        s += colors[i] == QColor(Qt::red) ? 'r' : '.';
    QCOMPARE(s, shown);
    QCOMPARE(colors[3], QColor(Qt::blue));
}

QTEST_MAIN(TstPlayback)
#include "tst_playback.moc"
