// The settings memory layout: where every record lives, how times are stored, and that packing
// and unpacking touch exactly the bytes of the lamps asked for.
#include "settings_layout.h"

#include <QtTest>

#include <memory>

using namespace lm740;
using namespace lm740::layout;

class TstSettingsLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void recordsSitWhereTheControllerKeepsThem();
    void timesAreCountsOf100ms();
    void timesAreCountsOf100ms_data();
    void transferOrderListsFieldsThenLamps();
    void packingRoundTripsEveryRecord();
    void packingTouchesOnlyTheLampsAskedFor();
    void invalidRecordsAndImagesAreRefused();
};

void TstSettingsLayout::recordsSitWhereTheControllerKeepsThem()
{
    QCOMPARE(sceneLampAddress(1, 2) + 2, 0x5206); // blue of lamp 2 of scene 1
    QCOMPARE(programAddress(1), 0xAE3E);
    QCOMPARE(programAddress(3), 0x12ABA);
    QCOMPARE(programStepLampAddress(3, 30, 169) + 2, 0x168F7);
    QCOMPARE(chaserAddress(3) + kChaserSize, 0x6C10);
    QCOMPARE(sceneAddress(9) + kSceneSize, 0x63EC);
    QCOMPARE(programStepXfadeAddress(0, 30), 0x7000 + 92);
    QCOMPARE(programStepLastStepAddress(0, 30), 0x7000 + 123);
    QCOMPARE(split(300).page, 1);
    QCOMPARE(split(300).offset, 44);
    QCOMPARE(split(0x1FFFF).page, 0x1FF);
    QCOMPARE(split(0x1FFFF).offset, 0xFF);
    QCOMPARE(kPageCount, 512);
}

void TstSettingsLayout::timesAreCountsOf100ms_data()
{
    QTest::addColumn<quint32>("ms");
    QTest::addColumn<int>("count");
    QTest::addColumn<quint32>("readBack");
    QTest::newRow("1500") << 1500u << 15 << 1500u;
    QTest::newRow("1550 drops the rest") << 1550u << 15 << 1500u;
    QTest::newRow("60000") << 60000u << 600 << 60000u;
    QTest::newRow("0") << 0u << 0 << 0u;
    // Longer than any show holds: kept as long as the field allows instead of wrapping to 4.4 s.
    QTest::newRow("70000") << 70000u << 700 << 70000u;
    QTest::newRow("beyond the field") << 10000000u << 0xFFFF << 6553500u;
}

void TstSettingsLayout::timesAreCountsOf100ms()
{
    QFETCH(quint32, ms);
    QFETCH(int, count);
    QFETCH(quint32, readBack);
    QCOMPARE(int(timeToCount(ms)), count);
    QCOMPARE(countToTime(timeToCount(ms)), readBack);

    std::vector<quint8> image(kImageSize, 0);
    t_chaser chaser;
    chaser.time = ms;
    QVERIFY(packChaser(image, 2, chaser, 0));
    QCOMPARE(int(image[chaserAddress(2)]), count & 0xFF); // little-endian
    QCOMPARE(int(image[chaserAddress(2) + 1]), count >> 8);
    t_chaser back;
    QVERIFY(unpackChaser(image, 2, back, 0));
    QCOMPARE(back.time, readBack);
}

void TstSettingsLayout::transferOrderListsFieldsThenLamps()
{
    const std::vector<int> scene = sceneAddresses(2, 2);
    QCOMPARE(scene, (std::vector<int>{0x5000 + 1020, 0x5000 + 1021, 0x5000 + 1022, 0x5000 + 1023,
                                      0x5000 + 1024, 0x5000 + 1025}));
    const std::vector<int> chaser = chaserAddresses(0, 1);
    QCOMPARE(chaser, (std::vector<int>{0x6400, 0x6401, 0x6402, 0x6403, 0x6404, 0x6405, 0x6406,
                                       0x6407, 0x6408}));
    const std::vector<int> step = programStepAddresses(0, 1, 0);
    QCOMPARE(step, (std::vector<int>{0x7002, 0x7003, 0x7000 + 63, 0x7000 + 94}));
    QCOMPARE(programAddresses(2, 170).size(), std::size_t(15934));
    QCOMPARE(sceneAddresses(0, 300).size(), std::size_t(510));
    QVERIFY(sceneAddresses(0, 0).empty());
}

void TstSettingsLayout::packingRoundTripsEveryRecord()
{
    std::vector<quint8> image(kImageSize, 0);
    auto show = std::make_unique<Show>();
    show->setShowDefaults();
    for (int l = 0; l < kMaxLamps; ++l)
        show->sceneColors[4][l] = QColor(l, 255 - l, (3 * l) % 256);
    t_chaser &chaser = show->chasers[1];
    chaser.colors = show->sceneColors[4];
    chaser.time = 2300;
    chaser.xfade = 55;
    chaser.direction = 2;
    chaser.pattern_len = 170;
    chaser.repeat_number = 9;
    t_program &program = show->programs[2];
    for (int s = 0; s < kProgramSteps; ++s) {
        program.scenes[s].colors = show->sceneColors[4];
        program.scenes[s].colors[0] = QColor(s, s, s);
        program.scenes[s].scene_time = quint32(s * 1000);
        program.scenes[s].scene_xfade = quint8(100 - s);
    }
    markLastStep(program, 12, true);

    QVERIFY(packScene(image, 4, show->sceneColors[4], kMaxLamps));
    QVERIFY(packChaser(image, 1, chaser, kMaxLamps));
    QVERIFY(packProgram(image, 2, program, kMaxLamps));
    QCOMPARE(image[chaserAddress(1) + kChaserDirection], quint8(2));
    QCOMPARE(image[programStepLastStepAddress(2, 12)], quint8(1));

    auto back = std::make_unique<Show>();
    QVERIFY(unpackScene(image, 4, back->sceneColors[4], kMaxLamps));
    QVERIFY(unpackChaser(image, 1, back->chasers[1], kMaxLamps));
    QVERIFY(unpackProgram(image, 2, back->programs[2], kMaxLamps));
    back->sceneColors[4][170] = show->sceneColors[4][170];
    back->chasers[1].colors[170] = chaser.colors[170];
    for (int s = 0; s < kProgramSteps; ++s)
        back->programs[2].scenes[s].colors[170] = program.scenes[s].colors[170];
    QCOMPARE(back->sceneColors[4], show->sceneColors[4]);
    QCOMPARE(back->chasers[1], chaser);
    QCOMPARE(back->programs[2], program);

    // One step alone, into a different program.
    t_program_scene step;
    QVERIFY(packProgramStep(image, 0, 30, program.scenes[7], kMaxLamps));
    QVERIFY(unpackProgramStep(image, 0, 30, step, kMaxLamps));
    step.colors[170] = program.scenes[7].colors[170];
    QCOMPARE(step, program.scenes[7]);
}

void TstSettingsLayout::packingTouchesOnlyTheLampsAskedFor()
{
    std::vector<quint8> image(kImageSize, 0xAA);
    ColorArray colors;
    colors.fill(QColor(1, 2, 3));
    QVERIFY(packScene(image, 0, colors, 30));
    QCOMPARE(image[sceneLampAddress(0, 29) + 2], quint8(3));
    QCOMPARE(image[sceneLampAddress(0, 30)], quint8(0xAA));
    QCOMPARE(image[sceneAddress(0) - 1], quint8(0xAA));

    ColorArray read;
    QVERIFY(unpackScene(image, 0, read, 31));
    QCOMPARE(read[29], QColor(1, 2, 3));
    QCOMPARE(read[30], QColor(0xAA, 0xAA, 0xAA));
    QVERIFY(!read[31].isValid());

    // An unset colour is stored as black.
    ColorArray unset;
    QVERIFY(packScene(image, 1, unset, 1));
    QCOMPARE(image[sceneLampAddress(1, 0)], quint8(0));
}

void TstSettingsLayout::invalidRecordsAndImagesAreRefused()
{
    std::vector<quint8> image(kImageSize, 0x11);
    std::vector<quint8> small(100, 0);
    ColorArray colors;
    t_chaser chaser;
    t_program program;
    t_program_scene step;
    QVERIFY(!packScene(image, 10, colors, 30));
    QVERIFY(!packScene(image, -1, colors, 30));
    QVERIFY(!unpackScene(small, 0, colors, 30));
    QVERIFY(!packChaser(image, 4, chaser, 30));
    QVERIFY(!unpackChaser(small, 0, chaser, 30));
    QVERIFY(!packProgram(image, 4, program, 30));
    QVERIFY(!packProgramStep(image, 0, 31, step, 30));
    QVERIFY(!unpackProgramStep(image, 0, -1, step, 30));
    QVERIFY(!unpackProgram(small, 0, program, 30));
    QVERIFY(std::all_of(image.begin(), image.end(), [](quint8 b) { return b == 0x11; }));
    QVERIFY(chaserAddresses(4, 30).empty());
    QVERIFY(programStepAddresses(0, 31, 30).empty());
}

QTEST_GUILESS_MAIN(TstSettingsLayout)
#include "tst_settings_layout.moc"
