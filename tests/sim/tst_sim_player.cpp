// What the simulated controller puts on its outputs, on ticks given by hand: items put straight
// into its memory and started with its run requests, the preview's fade, step and rotation rules,
// the lamp count of its memory, and what writes and whole-memory passes do to what it plays.
#include "color_arrays.h"
#include "playback.h"
#include "sim_controller.h"

#include <QtTest>

using namespace lm740;
using testcolors::numberedColors;

namespace {

struct Rig
{
    SimController c;

    int request(quint8 code, quint16 value = 0, quint16 index = 0, QByteArray data = {})
    {
        return c.control(usb::kRequestTypeOut, code, value, index,
                         data.isEmpty() ? nullptr : reinterpret_cast<unsigned char *>(data.data()),
                         quint16(data.size()), 1000);
    }
    int endPass(quint16 direction)
    {
        unsigned char b = 0;
        return c.control(usb::kRequestTypeIn, usb::END_PASS_REQUEST, direction, 0, &b, 1, 1000);
    }
    void setLamps(int n) { c.setByteAt(layout::kLampsNumber, quint8(n)); }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            c.tick();
    }
    QList<QColor> outputs()
    {
        QList<QColor> out;
        for (int i = 0; i < c.player().lamps(); ++i)
            out << c.output(i);
        return out;
    }
    QList<int> outputLamps() { return testcolors::lampNumbersOf(outputs()); }
};

QList<QColor> firstOf(const ColorArray &colors, int n)
{
    return QList<QColor>(colors.begin(), colors.begin() + n);
}

} // namespace

class TstSimPlayer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sceneFromMemoryFadesIn();
    void chaserRotates_data();
    void chaserRotates();
    void programSteps_data();
    void programSteps();
    void programStepCrossFades();
    void timeNobodyWatchedIsCaughtUp();
    void blackoutAndRefusedRuns();
    void writesAndPassesReachWhatItPlays();
    void recentRequestsAreBoundedAndFolded();
};

void TstSimPlayer::sceneFromMemoryFadesIn()
{
    Rig r;
    QCOMPARE(r.c.player().item(), SimPlayer::Item::Scene); // what it plays after start
    const ColorArray colors = numberedColors(5);
    layout::packScene(r.c.memory(), 3, colors, kMaxLamps);
    r.setLamps(12);
    r.c.setByteAt(layout::kInSceneTime, 2);
    QCOMPARE(r.request(usb::RUN_SCENE_REQUEST, 3), 0);
    QCOMPARE(r.c.player().lamps(), 12);
    r.ticks(33); // 990 ms of a 2 s fade from black
    QCOMPARE(r.c.output(7), playback::fadeColor(Qt::black, colors[7], 990, 2000));
    QVERIFY(r.c.player().moving());
    r.ticks(34);
    QCOMPARE(r.outputs(), firstOf(colors, 12));
    QVERIFY(!r.c.player().moving()); // a scene stays
    QVERIFY(!r.c.tick());
    QCOMPARE(r.c.output(12), QColor(Qt::black)); // beyond the lamp count
}

void TstSimPlayer::chaserRotates_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("patternLen");
    QTest::addColumn<int>("repeat");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QList<int>>("lamps");
    QTest::newRow("left, one step") << 1 << 6 << 1 << 1 << QList<int>{1, 2, 3, 4, 5, 0};
    QTest::newRow("left, two steps") << 1 << 6 << 1 << 2 << QList<int>{2, 3, 4, 5, 0, 1};
    QTest::newRow("right, one step") << 2 << 6 << 1 << 1 << QList<int>{5, 0, 1, 2, 3, 4};
    QTest::newRow("pattern of 2 twice") << 2 << 2 << 2 << 0 << QList<int>{0, 1, 0, 1, 4, 5};
    QTest::newRow("pattern, then a step") << 2 << 2 << 2 << 1 << QList<int>{5, 0, 1, 0, 1, 4};
    QTest::newRow("a whole turn") << 1 << 6 << 1 << 6 << QList<int>{0, 1, 2, 3, 4, 5};
}

void TstSimPlayer::chaserRotates()
{
    QFETCH(int, direction);
    QFETCH(int, patternLen);
    QFETCH(int, repeat);
    QFETCH(int, steps);
    QFETCH(QList<int>, lamps);
    Rig r;
    t_chaser chaser;
    chaser.colors = numberedColors();
    chaser.time = 300;
    chaser.xfade = 0;
    chaser.direction = quint8(direction);
    chaser.pattern_len = quint8(patternLen);
    chaser.repeat_number = quint8(repeat);
    layout::packChaser(r.c.memory(), 2, chaser, kMaxLamps);
    r.setLamps(6);
    QCOMPARE(r.request(usb::RUN_CHASER_REQUEST, 2), 0);
    // Each step ends on the tick after its time; the one after shows it without cross-fade.
    r.ticks(int(playback::ticksUntilEnd(300)) * steps + 1);
    QCOMPARE(r.outputLamps(), lamps);
    r.ticks(int(playback::ticksUntilEnd(300)) - 2);
    QCOMPARE(r.outputLamps(), lamps); // not yet the next step
}

void TstSimPlayer::programSteps_data()
{
    QTest::addColumn<int>("lastMark");
    QTest::addColumn<QList<int>>("steps");
    QTest::newRow("marked step 4") << 3 << QList<int>{1, 2, 3, 0, 1};
    QTest::newRow("marked step 1") << 0 << QList<int>{0, 0};
    QTest::newRow("unmarked: step 31 then 1") << -1 << QList<int>{1, 2, 3, 4, 5};
}

void TstSimPlayer::programSteps()
{
    QFETCH(int, lastMark);
    QFETCH(QList<int>, steps);
    Rig r;
    t_program program;
    for (t_program_scene &step : program.scenes)
        step.scene_time = 100; // 4 ticks
    if (lastMark >= 0)
        program.scenes[std::size_t(lastMark)].scene_laststep = 1;
    layout::packProgram(r.c.memory(), 1, program, kMaxLamps);
    QCOMPARE(r.request(usb::RUN_PROGRAM_REQUEST, 1), 0);
    QCOMPARE(r.c.player().step(), 0);
    if (lastMark < 0) {
        r.ticks(4 * 30); // steps 1 to 31 played: the 31st ends the run
        QCOMPARE(r.c.player().step(), 30);
        r.ticks(4);
        QCOMPARE(r.c.player().step(), 0);
    }
    QList<int> seen;
    for (int i = 0; i < steps.size(); ++i) {
        const int before = r.c.player().step();
        r.ticks(3);
        QCOMPARE(r.c.player().step(), before);
        r.ticks(1);
        seen << r.c.player().step();
    }
    QCOMPARE(seen, steps);
}

void TstSimPlayer::programStepCrossFades()
{
    Rig r;
    r.setLamps(3);
    t_program program;
    program.scenes[0].colors = numberedColors(1);
    program.scenes[0].scene_time = 0;
    program.scenes[0].scene_xfade = 0;
    program.scenes[1].colors = numberedColors(40);
    program.scenes[1].scene_time = 3000;
    program.scenes[1].scene_xfade = 50; // 1.5 s of fade
    layout::packProgram(r.c.memory(), 0, program, kMaxLamps);
    r.request(usb::RUN_PROGRAM_REQUEST, 0);
    r.ticks(1); // step 1 shown; step 2 starts fading from it
    QCOMPARE(r.c.player().step(), 1);
    r.ticks(20);
    QCOMPARE(r.c.output(2), playback::fadeColor(program.scenes[0].colors[2],
                                                program.scenes[1].colors[2], 600, 1500));
    r.ticks(31); // 1530 ms: the fade is over, the step goes on
    QCOMPARE(r.outputs(), firstOf(program.scenes[1].colors, 3));
    QCOMPARE(r.c.player().step(), 1);
}

void TstSimPlayer::timeNobodyWatchedIsCaughtUp()
{
    Rig r;
    t_program program;
    for (t_program_scene &step : program.scenes)
        step.scene_time = 100; // 4 ticks
    layout::packProgram(r.c.memory(), 0, program, kMaxLamps);
    r.request(usb::RUN_PROGRAM_REQUEST, 0);
    r.c.catchUp(119); // 3 whole ticks
    QCOMPARE(r.c.player().step(), 0);
    r.c.catchUp(30);
    QCOMPARE(r.c.player().step(), 1);
    // Hours unwatched cost at most ten minutes of ticks: 20000 ticks of 4 are 5000 steps, 31 of
    // them a turn of the program.
    r.c.catchUp(qint64(24) * 3600 * 1000);
    QCOMPARE(r.c.player().step(), (1 + SimPlayer::kMaxCatchUpTicks / 4) % kProgramSteps);
}

void TstSimPlayer::blackoutAndRefusedRuns()
{
    Rig r;
    layout::packScene(r.c.memory(), 0, numberedColors(9), kMaxLamps);
    r.request(usb::RUN_SCENE_REQUEST, 0);
    r.ticks(40);
    QCOMPARE(r.request(usb::BLACKOUT_REQUEST), 0);
    QCOMPARE(r.c.player().item(), SimPlayer::Item::Blackout);
    QCOMPARE(r.outputs(), QList<QColor>(30, QColor(Qt::black))); // at once, no tick
    // Numbers beyond the items, and runs in upgrade mode, change nothing.
    QVERIFY(r.request(usb::RUN_SCENE_REQUEST, 10) < 0);
    QVERIFY(r.request(usb::RUN_PROGRAM_REQUEST, 4) < 0);
    QCOMPARE(r.c.player().item(), SimPlayer::Item::Blackout);
    r.c.setUpgradeMode(true);
    QVERIFY(r.request(usb::RUN_SCENE_REQUEST, 0) < 0);
    QCOMPARE(r.c.player().item(), SimPlayer::Item::Blackout);
    // Its lamp count says 200: the default stands for it, as in the window.
    r.c.setUpgradeMode(false);
    r.setLamps(200);
    r.request(usb::RUN_SCENE_REQUEST, 0);
    QCOMPARE(r.c.player().lamps(), kDefaultLamps);
}

void TstSimPlayer::writesAndPassesReachWhatItPlays()
{
    Rig r;
    r.request(usb::RUN_SCENE_REQUEST, 2);
    r.ticks(40);
    // A byte written into the scene it plays shows at once; one elsewhere does not.
    const auto [page, offset] = layout::split(layout::sceneLampAddress(2, 4));
    r.request(usb::WRITE_BYTE_REQUEST, quint16(page), quint16(offset), QByteArray(1, '\xc8'));
    const auto [page1, offset1] = layout::split(layout::sceneLampAddress(1, 5));
    r.request(usb::WRITE_BYTE_REQUEST, quint16(page1), quint16(offset1), QByteArray(1, '\x11'));
    QCOMPARE(r.c.output(4), QColor(200, 0, 0));
    QCOMPARE(r.c.output(5), QColor(Qt::black));
    // So does a new lamp count.
    const auto [hp, ho] = layout::split(layout::kLampsNumber);
    r.request(usb::WRITE_BYTE_REQUEST, quint16(hp), quint16(ho), QByteArray(1, '\x05'));
    QCOMPARE(r.c.player().lamps(), 5);

    // A write pass holds the main loop: time stands still until its end, after which the item
    // starts again from the new memory.
    r.request(usb::RUN_PROGRAM_REQUEST, 0);
    r.ticks(40);
    QCOMPARE(r.c.player().step(), 1);
    QByteArray block(64, '\x77'); // the step times and the first cross-fades
    const auto [bp, bo] = layout::split(layout::programAddress(0));
    QCOMPARE(r.request(usb::WRITE_BLOCK_REQUEST, quint16(bp), quint16(bo), block), 64);
    QVERIFY(!r.c.tick());
    r.ticks(40);
    QCOMPARE(r.c.player().step(), 1);
    QCOMPARE(r.endPass(1), 1);
    QCOMPARE(r.c.player().step(), 0);
    r.ticks(1000); // 30 s: the times of the new memory are longer
    QCOMPARE(r.c.player().step(), 0);
}

void TstSimPlayer::recentRequestsAreBoundedAndFolded()
{
    Rig r;
    r.c.setLogging(false); // kept whether or not the log is
    for (int i = 0; i < SimController::kRecentRequests + 50; ++i)
        r.request(usb::RUN_SCENE_REQUEST, quint16(i % 2));
    const auto &recent = r.c.recentRequests();
    QCOMPARE(int(recent.size()), SimController::kRecentRequests);
    QCOMPARE(recent.front().value, quint16(1)); // newest first
    QCOMPARE(recent[1].value, quint16(0));

    // A poll repeated is one entry, which changes its look once.
    QByteArray id(2, 0);
    auto poll = [&] {
        return r.c.control(usb::kRequestTypeIn, usb::LM_ID_REQUEST, 0, 0,
                           reinterpret_cast<unsigned char *>(id.data()), 2, 1000);
    };
    poll();
    const int once = r.c.recentRevision();
    poll();
    const int twice = r.c.recentRevision();
    poll();
    poll();
    QCOMPARE(twice, once + 1);
    QCOMPARE(r.c.recentRevision(), twice);
    QCOMPARE(recent.front().times, 4);
    QCOMPARE(recent[1].request, quint8(usb::RUN_SCENE_REQUEST));
    // A failure is not the same request as a success.
    r.c.failNext(1);
    poll();
    QCOMPARE(recent.front().times, 1);
    QVERIFY(recent.front().result < 0);
}

QTEST_GUILESS_MAIN(TstSimPlayer)
#include "tst_sim_player.moc"
