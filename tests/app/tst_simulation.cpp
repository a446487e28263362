// The preview strip with a hand-driven tick: when an item ends, what is painted and when, and the
// program and chaser simulations of the window stepping through their items.
#include "my_dock_widget.h"
#include "paint_counter.h"
#include "super_rgb.h"
#include "window_rig.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace lm740;

namespace {

int ticksUntil(MyDockWidget &strip, const std::function<bool()> &done, int limit = 2000)
{
    for (int n = 1; n <= limit; ++n) {
        strip.tick();
        if (done())
            return n;
    }
    return -1;
}

} // namespace

Q_DECLARE_METATYPE(std::function<void(MainWindow &)>)

class TstSimulation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void itemEndsOnTheTick_data();
    void itemEndsOnTheTick();
    void paintingOnlyPaints();
    void repaintsOnlyWhileThePictureChanges_data();
    void repaintsOnlyWhileThePictureChanges();
    void programSimulationSteps_data();
    void programSimulationSteps();
    void chaserSimulationRotates();
    void chaserFollowsEdits_data();
    void chaserFollowsEdits();
};

void TstSimulation::itemEndsOnTheTick_data()
{
    QTest::addColumn<quint32>("total");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("ticks");
    QTest::newRow("0 ms") << 0u << 1 << 1;
    QTest::newRow("29 ms") << 29u << 2 << 1;
    QTest::newRow("30 ms") << 30u << 1 << 2;
    QTest::newRow("1 s") << 1000u << 2 << 34;
    QTest::newRow("1.02 s") << 1020u << 1 << 35;
    QTest::newRow("preview never ends") << 0u << 0 << -1;
}

void TstSimulation::itemEndsOnTheTick()
{
    QFETCH(quint32, total);
    QFETCH(int, mode);
    QFETCH(int, ticks);
    MyDockWidget strip;
    QSignalSpy chaser(&strip, &MyDockWidget::next_chaser);
    QSignalSpy program(&strip, &MyDockWidget::next_prog);
    ColorArray colors;
    setLampsBlack(colors);
    strip.setPlayMode(mode == 0   ? std::nullopt
                      : mode == 1 ? std::optional(lm740::ItemKind::Chaser)
                                  : std::optional(lm740::ItemKind::ProgramStep));
    strip.startFade(total, 100, colors.data(), 30);
    QCOMPARE(ticksUntil(
                 strip, [&] { return chaser.size() + program.size() > 0; }, 100),
             ticks);
    QCOMPARE(chaser.size(), mode == 1 ? 1 : 0);
    QCOMPARE(program.size(), mode == 2 ? 1 : 0);
    // A preview at rest lets its clock rest too.
    QCOMPARE(strip.tickTimer->isActive(), mode != 0);
}

void TstSimulation::paintingOnlyPaints()
{
    MyDockWidget strip;
    strip.resize(620, 20);
    QSignalSpy chaser(&strip, &MyDockWidget::next_chaser);
    ColorArray colors;
    setLampsBlack(colors);
    colors[0] = QColor(255, 0, 0);
    strip.setPlayMode(ItemKind::Chaser);
    strip.startFade(1000, 100, colors.data(), 1);
    strip.elapsed = 2000;
    const QImage image = strip.grab().toImage();
    QCOMPARE(chaser.size(), 0);
    // One lamp: two cells, the left one painted.
    QCOMPARE(image.pixelColor(10, 10), QColor(255, 0, 0));

    // A reply that lets further ticks through (a message box's event loop) ends the item once.
    int replies = 0;
    connect(&strip, &MyDockWidget::next_chaser, &strip, [&] {
        ++replies;
        strip.tick();
    });
    strip.tick();
    QCOMPARE(replies, 1);
}

void TstSimulation::repaintsOnlyWhileThePictureChanges_data()
{
    QTest::addColumn<quint32>("xfade");
    QTest::addColumn<int>("paints");
    QTest::newRow("no cross-fade") << 0u << 1;
    QTest::newRow("full cross-fade") << 100u << 10;
}

void TstSimulation::repaintsOnlyWhileThePictureChanges()
{
    QFETCH(quint32, xfade);
    QFETCH(int, paints);
    MyDockWidget strip;
    strip.resize(620, 20);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    PaintCounter counter;
    strip.installEventFilter(&counter);
    ColorArray colors;
    setLampsBlack(colors);
    strip.setPlayMode(ItemKind::Chaser);
    strip.startFade(300, xfade, colors.data(), 30);
    QCoreApplication::processEvents();
    counter.paints = 0;
    for (int i = 0; i < 10; ++i) {
        strip.tick();
        QCoreApplication::processEvents();
    }
    QCOMPARE(counter.paints, paints);
}

void TstSimulation::programSimulationSteps_data()
{
    QTest::addColumn<int>("lastMark");
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<int>>("steps");
    QTest::newRow("step 31 back to step 1") << -1 << 28 << QList<int>{29, 30, 0, 1};
    QTest::newRow("marked step 4") << 3 << 0 << QList<int>{1, 2, 3, 0, 1};
    QTest::newRow("from step 10") << -1 << 9 << QList<int>{10, 11};
}

void TstSimulation::programSimulationSteps()
{
    QFETCH(int, lastMark);
    QFETCH(int, start);
    QFETCH(QList<int>, steps);
    WindowRig rig;
    MainWindow &w = *rig.window;
    if (lastMark >= 0)
        markLastStep(w.document().show().programs[0], lastMark, true);
    w.document().show().programs[0].scenes[start + 1 < 31 ? start + 1 : 0].colors[0] =
        QColor(0, 0, 250);
    w.TabWidget->setCurrentIndex(2);
    w.widgets().programSteps(0)->button(start)->click();
    w.actionRun_Program->trigger();
    QList<int> played;
    for (int i = 0; i < steps.size(); ++i) {
        const int before = w.document().show().actualProgramSceneNumber;
        QCOMPARE(ticksUntil(*w.widgets().dockWidget,
                            [&] { return w.document().show().actualProgramSceneNumber != before; }),
                 34);
        played << w.document().show().actualProgramSceneNumber;
        if (i == 0)
            QCOMPARE(w.widgets().dockWidget->targetColors[0], QColor(0, 0, 250));
    }
    QCOMPARE(played, steps);
    QCOMPARE(w.widgets().programSteps(0)->checkedId(), steps.last());
    w.actionStop_Program->trigger();
    QCOMPARE(ticksUntil(
                 *w.widgets().dockWidget, [] { return false; }, 100),
             -1);
    QCOMPARE(w.document().show().actualProgramSceneNumber, steps.last());
}

void TstSimulation::chaserSimulationRotates()
{
    WindowRig rig;
    MainWindow &w = *rig.window;
    w.document().setGlobals(3, w.document().show().sceneTime);
    w.document().show().chasers[0].colors[0] = QColor(255, 0, 0);
    w.document().show().chasers[0].time = 300;
    w.TabWidget->setCurrentIndex(1);
    MyDockWidget &strip = *w.widgets().dockWidget;
    QCOMPARE(strip.playMode, lm740::ItemKind::Chaser);
    const ColorArray first = strip.targetColors;
    QCOMPARE(first[0], QColor(255, 0, 0));
    QCOMPARE(strip.totalTime, 300u);

    // Left: each lamp takes its right-hand neighbour's colour.
    QCOMPARE(ticksUntil(strip, [&] { return strip.elapsed == 0; }), 11);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(strip.targetColors[i], first[(i + 1) % 3]);
    // An edit of the time ends the step under way at once; the next step goes the new way.
    w.document().editField(Item::chaser(0), Field::Direction, 2);
    w.document().editField(Item::chaser(0), Field::Time, 0);
    QCOMPARE(ticksUntil(strip, [&] { return strip.elapsed == 0; }), 1);
    QCOMPARE(strip.targetColors[0], first[0]);
    QCOMPARE(ticksUntil(strip, [&] { return strip.elapsed == 0; }), 1);
    QCOMPARE(strip.targetColors[1], first[0]);
}

void TstSimulation::chaserFollowsEdits_data()
{
    using Edit = std::function<void(MainWindow &)>;
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("frame");   // the strip at the next tick, one letter a lamp
    QTest::addColumn<int>("ticks");       // then until the chaser steps on
    QTest::addColumn<QString>("stepped"); // and after that step
    const auto spin = [](const char *name, int v) {
        return [=](MainWindow &w) { w.findChild<QSpinBox *>(name)->setValue(v); };
    };
    QTest::newRow("as it was") << Edit([](MainWindow &) {}) << "RGBR" << 10 << "GBRR";
    QTest::newRow("lamp colour") << Edit([](MainWindow &w) {
        w.scene()->lamp(0)->setRGB(255, 255, 255);
    }) << "WGBW" << 10 << "GBWW";
    QTest::newRow("pattern length") << Edit(spin("PatternSpin", 2)) << "RGRG" << 10 << "GRGR";
    QTest::newRow("repeat number") << Edit(spin("RepeatSpin", 1)) << "RGBK" << 10 << "GBKR";
    QTest::newRow("direction") << Edit([](MainWindow &w) {
        w.findChild<QComboBox *>("DirectionCombo")->setCurrentIndex(1);
    }) << "RGBR" << 10 << "RRGB";
    QTest::newRow("time") << Edit([](MainWindow &w) {
        w.findChild<QDoubleSpinBox *>("TimeSpin")->setValue(0.06);
    }) << "RGBR" << 2 << "GBRR";
}

void TstSimulation::chaserFollowsEdits()
{
    QFETCH(std::function<void(MainWindow &)>, edit);
    QFETCH(QString, frame);
    QFETCH(int, ticks);
    QFETCH(QString, stepped);
    WindowRig rig;
    MainWindow &w = *rig.window;
    w.document().setGlobals(4, w.document().show().sceneTime);
    t_chaser &chaser = w.document().show().chasers[0];
    const QMap<QChar, QColor> named{
        {'R', Qt::red}, {'G', Qt::green}, {'B', Qt::blue}, {'K', Qt::black}, {'W', Qt::white}};
    for (int i = 0; i < 4; ++i)
        chaser.colors[i] = named[QStringLiteral("RGBK")[i]];
    chaser.pattern_len = 3;
    chaser.repeat_number = 2;
    chaser.time = 300;
    chaser.xfade = 0;
    w.TabWidget->setCurrentIndex(1);
    MyDockWidget &strip = *w.widgets().dockWidget;
    const auto shows = [&](const QString &lamps) {
        for (int i = 0; i < 4; ++i)
            if (strip.targetColors[i] != named[lamps[i]])
                return false;
        return true;
    };
    edit(w);
    strip.tick();
    QVERIFY(shows(frame));
    QCOMPARE(ticksUntil(strip, [&] { return strip.elapsed == 0; }), ticks);
    QVERIFY(shows(stepped));
}

QTEST_MAIN(TstSimulation)
#include "tst_simulation.moc"
