// The controller link against the simulated controller: byte access with its 100 attempts, the
// exact requests of every record transfer, all-or-nothing reads, and the block, run and upgrade
// requests.
#include "color_arrays.h"
#include "controller_link.h"
#include "settings_layout.h"
#include "sim_rig.h"

#include <QtTest>

using namespace lm740;
using testcolors::numberedColors;

class TstControllerLink : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addressTravelsAsPageAndOffset();
    void addressTravelsAsPageAndOffset_data();
    void byteSucceedingAtTheLastAttemptCountsAsRead();
    void byteFailingEveryAttemptFails();
    void byteFailingEveryAttemptFails_data();
    void failureAtThirdOfFiveBytesKeepsTheFirstTwo();
    void badArgumentsSendNothing();
    void setByteWritesOneByteWithRetries();
    void chaserWriteSendsFieldsThenLampsWithProgress();
    void recordsRoundTripThroughTheController();
    void failedReadLeavesTheRecordAsItWas();
    void programWriteSendsAllStepsWithStepProgress();
    void runCommandsAndBlackout();
    void blocksAndEndOfPass();
    void upgradeRequests();
    void identificationAndVersion();
};

void TstControllerLink::addressTravelsAsPageAndOffset_data()
{
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("offset");
    QTest::newRow("300") << 300 << 1 << 44;
    QTest::newRow("0x100") << 0x100 << 1 << 0;
    QTest::newRow("last byte") << 0x1FFFF << 0x1FF << 0xFF;
    QTest::newRow("0") << 0 << 0 << 0;
}

void TstControllerLink::addressTravelsAsPageAndOffset()
{
    QFETCH(int, address);
    QFETCH(int, page);
    QFETCH(int, offset);
    SimRig rig;
    rig.controller.setByteAt(address, 0xC8);
    char byte = 0;
    QCOMPARE(rig.link.getBytes(address, &byte, 1), 1);
    QCOMPARE(quint8(byte), quint8(0xC8));
    QCOMPARE(rig.link.setByte(address, 0x11), 1);
    QCOMPARE(rig.controller.byteAt(address), quint8(0x11));

    const auto log = rig.memoryRequests();
    QCOMPARE(log.size(), 2);
    QCOMPARE(log[0].request, quint8(7));
    QCOMPARE(log[0].requestType, quint8(0xC0));
    QCOMPARE(log[1].request, quint8(12));
    QCOMPARE(log[1].requestType, quint8(0x40));
    for (const auto &r : log) {
        QCOMPARE(int(r.value), page);
        QCOMPARE(int(r.index), offset);
        QCOMPARE(r.length, quint16(1));
    }
}

void TstControllerLink::byteSucceedingAtTheLastAttemptCountsAsRead()
{
    SimRig rig;
    rig.controller.setByteAt(2, 150);
    rig.controller.failRequests(usb::READ_MEMORY_REQUEST, 99);
    char byte = 0;
    QCOMPARE(rig.link.getBytes(2, &byte, 1), 1);
    QCOMPARE(quint8(byte), quint8(150));
    // Each failure closed the link, so every attempt searched and identified again first.
    QCOMPARE(rig.memoryRequests().size(), 100);
}

void TstControllerLink::byteFailingEveryAttemptFails_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("fault");
    QTest::newRow("read fails") << false << "fail";
    QTest::newRow("write fails") << true << "fail";
    // A short answer keeps the link open: only the count tells that the byte did not travel.
    QTest::newRow("read answers no byte") << false << "short";
    QTest::newRow("write moves no byte") << true << "short";
    // With no controller at all every attempt is a quick failed search.
    QTest::newRow("read, no controller") << false << "unplugged";
    QTest::newRow("write, no controller") << true << "unplugged";
}

void TstControllerLink::byteFailingEveryAttemptFails()
{
    QFETCH(bool, write);
    QFETCH(QString, fault);
    SimRig rig;
    const quint8 request = write ? usb::WRITE_BYTE_REQUEST : usb::READ_MEMORY_REQUEST;
    if (fault == "fail")
        rig.controller.failRequests(request, 100);
    else if (fault == "short")
        rig.controller.answerShortRequests(request, 100);
    else
        rig.bus.unplug(rig.controller);
    char byte = 'x';
    auto attempt = [&] { return write ? rig.link.setByte(2, 9) : rig.link.getBytes(2, &byte, 1); };
    QCOMPARE(attempt(), -1);
    QCOMPARE(byte, 'x');
    QCOMPARE(rig.controller.byteAt(2), quint8(30));
    if (fault == "unplugged")
        return;
    QCOMPARE(rig.memoryRequests().size(), 100);
    QCOMPARE(attempt(), 1); // the fault is used up
    QCOMPARE(write ? int(rig.controller.byteAt(2)) : int(byte), write ? 9 : 30);
}

void TstControllerLink::failureAtThirdOfFiveBytesKeepsTheFirstTwo()
{
    SimRig rig;
    for (int i = 0; i < 5; ++i)
        rig.controller.setByteAt(0x5000 + i, quint8(10 + i));
    char dest[5] = {'a', 'b', 'c', 'd', 'e'};
    rig.controller.failRequests(usb::READ_MEMORY_REQUEST, 100, 2);
    QCOMPARE(rig.link.getBytes(0x5000, dest, 5), -1);
    QCOMPARE(QByteArray(dest, 5), QByteArray("\x0a\x0b"
                                             "cde"));
    QCOMPARE(rig.memoryRequests().size(), 102); // nothing asked after the third byte gave up
}

void TstControllerLink::badArgumentsSendNothing()
{
    SimRig rig;
    char byte = 0;
    QCOMPARE(rig.link.getBytes(0, &byte, 0), 0);
    QCOMPARE(rig.link.getBytes(0, nullptr, 1), -1);
    QCOMPARE(rig.link.getBytes(0, &byte, -1), -1);
    QCOMPARE(rig.link.getBytes(-1, &byte, 1), -1);
    QCOMPARE(rig.link.getBytes(0x20000, &byte, 1), -1);
    QCOMPARE(rig.link.setByte(-5, 1), -1);
    QCOMPARE(rig.link.setByte(0x20000, 1), -1);
    QVERIFY(rig.controller.requests().isEmpty());
    // A read running past the end stops there, with what lies inside the memory read.
    char two[2] = {0, 'z'};
    rig.controller.setByteAt(0x1FFFF, 4);
    QCOMPARE(rig.link.getBytes(0x1FFFF, two, 2), -1);
    QCOMPARE(two[0], char(4));
    QCOMPARE(two[1], 'z');
    // Records that do not exist are refused before anything is sent.
    rig.controller.clearRequests();
    ColorArray colors = numberedColors(0);
    t_chaser chaser;
    t_program program;
    QCOMPARE(rig.link.writeScene(colors, 10, 30), -1);
    QCOMPARE(rig.link.readScene(colors, -1, 30), -1);
    QCOMPARE(rig.link.writeChaser(chaser, 4, 30), -1);
    QCOMPARE(rig.link.readChaser(chaser, 4, 30), -1);
    QCOMPARE(rig.link.writeProgramScene(program, 0, 31, 30), -1);
    QCOMPARE(rig.link.readProgramScene(program, 4, 0, 30), -1);
    QCOMPARE(rig.link.writeProgram(program, 4, 30), -1);
    QCOMPARE(rig.link.readProgram(program, -1, 30), -1);
    QVERIFY(rig.controller.requests().isEmpty());
}

void TstControllerLink::setByteWritesOneByteWithRetries()
{
    SimRig rig;
    rig.controller.failRequests(usb::WRITE_BYTE_REQUEST, 3);
    QCOMPARE(rig.link.setByte(0x6400, 0xFE), 1);
    QCOMPARE(rig.controller.byteAt(0x6400), quint8(0xFE));
    const auto log = rig.memoryRequests();
    QCOMPARE(log.size(), 4);
    QCOMPARE(log.last().data, QByteArray("\xfe"));
}

void TstControllerLink::chaserWriteSendsFieldsThenLampsWithProgress()
{
    SimRig rig;
    t_chaser chaser;
    chaser.colors = numberedColors(3);
    chaser.time = 2500;
    chaser.xfade = 40;
    chaser.direction = 2;
    chaser.pattern_len = 7;
    chaser.repeat_number = 3;
    QList<int> progress;
    QCOMPARE(rig.link.writeChaser(chaser, 1, 30, [&](int p) { progress << p; }), 0);

    const auto log = rig.memoryRequests();
    QCOMPARE(log.size(), 6 + 90);
    const int base = 0x6400 + 516;
    for (int i = 0; i < log.size(); ++i) {
        QCOMPARE(log[i].request, quint8(12));
        QCOMPARE(int(log[i].value) * 256 + log[i].index, base + i);
    }
    QCOMPARE(quint8(log[0].data[0]), quint8(25));
    QCOMPARE(quint8(log[1].data[0]), quint8(0));
    QCOMPARE(quint8(log[3].data[0]), quint8(2));
    QCOMPARE(quint8(log[6].data[0]), quint8(chaser.colors[0].red()));
    QCOMPARE(quint8(log[95].data[0]), quint8(chaser.colors[29].blue()));
    QCOMPARE(progress.size(), 30);
    QCOMPARE(progress.first(), 3);
    QCOMPARE(progress[1], 6);
    QCOMPARE(progress.last(), 100);
    // Lamp 30 and beyond stayed as the controller had them.
    QCOMPARE(rig.controller.byteAt(base + 6 + 90), quint8(0));
}

void TstControllerLink::recordsRoundTripThroughTheController()
{
    SimRig rig;
    const ColorArray scene = numberedColors(1);
    t_chaser chaser;
    chaser.colors = numberedColors(2);
    chaser.time = 60000;
    chaser.repeat_number = 170;
    t_program program;
    for (int s = 0; s < kProgramSteps; ++s) {
        program.scenes[s].colors = numberedColors(s);
        program.scenes[s].scene_time = quint32(100 * s);
        program.scenes[s].scene_xfade = quint8(s);
    }
    program.scenes[30].scene_laststep = 1;

    QCOMPARE(rig.link.writeScene(scene, 9, 170), 0);
    QCOMPARE(rig.link.writeChaser(chaser, 3, 170), 0);
    QCOMPARE(rig.link.writeProgram(program, 3, 12), 0);
    QCOMPARE(rig.controller.byteAt(0x168F7), quint8(0)); // lamp 169 of step 30 not sent
    QCOMPARE(rig.link.writeProgramScene(program, 3, 30, 170), 0);
    QCOMPARE(rig.controller.byteAt(0x168F7), quint8(program.scenes[30].colors[169].blue()));

    ColorArray sceneBack;
    t_chaser chaserBack;
    t_program programBack;
    QCOMPARE(rig.link.readScene(sceneBack, 9, 170), 0);
    QCOMPARE(rig.link.readChaser(chaserBack, 3, 170), 0);
    QCOMPARE(rig.link.readProgram(programBack, 3, 12), 0);
    for (int l = 0; l < kMaxLamps; ++l) {
        QCOMPARE(sceneBack[l], scene[l]);
        QCOMPARE(chaserBack.colors[l], chaser.colors[l]);
    }
    QVERIFY(!sceneBack[170].isValid()); // the spare slot is never touched
    QCOMPARE(chaserBack.time, 60000u);
    QCOMPARE(chaserBack.repeat_number, quint8(170));
    for (int s = 0; s < kProgramSteps; ++s) {
        QCOMPARE(programBack.scenes[s].scene_time, quint32(100 * s));
        QCOMPARE(programBack.scenes[s].scene_xfade, quint8(s));
        QCOMPARE(programBack.scenes[s].colors[11], program.scenes[s].colors[11]);
        QVERIFY(!programBack.scenes[s].colors[12].isValid());
    }
    QCOMPARE(programBack.scenes[30].scene_laststep, quint8(1));

    t_program stepBack;
    QCOMPARE(rig.link.readProgramScene(stepBack, 3, 30, 170), 0);
    QCOMPARE(stepBack.scenes[30].scene_laststep, quint8(1));
    QCOMPARE(stepBack.scenes[30].scene_time, 3000u);
    QCOMPARE(stepBack.scenes[30].colors[169], program.scenes[30].colors[169]);
    QVERIFY(!stepBack.scenes[29].colors[0].isValid());

    // Lamp counts beyond the record are held to 170 lamps.
    rig.controller.clearRequests();
    QCOMPARE(rig.link.writeScene(scene, 0, 500), 0);
    QCOMPARE(rig.memoryRequests().size(), 510);
    QCOMPARE(rig.controller.byteAt(0x5000 + 509), quint8(scene[169].blue()));
    QCOMPARE(rig.controller.byteAt(0x5000 + 510), quint8(0)); // scene 1 untouched
}

void TstControllerLink::failedReadLeavesTheRecordAsItWas()
{
    SimRig rig;
    t_chaser onController;
    onController.colors = numberedColors(5);
    onController.time = 3000;
    onController.direction = 2;
    QCOMPARE(rig.link.writeChaser(onController, 0, 30), 0);
    QCOMPARE(rig.link.writeScene(numberedColors(6), 0, 30), 0);

    // Lamp 5 is reached after the 6 header bytes and 15 colour bytes of lamps 0 to 4.
    t_chaser chaser;
    setDefaults(chaser);
    const t_chaser before = chaser;
    rig.controller.failRequests(usb::READ_MEMORY_REQUEST, 100, 6 + 15);
    QCOMPARE(rig.link.readChaser(chaser, 0, 30), -1);
    QCOMPARE(chaser, before);

    ColorArray scene = numberedColors(99);
    const ColorArray sceneBefore = scene;
    rig.controller.failRequests(usb::READ_MEMORY_REQUEST, 100, 15);
    QCOMPARE(rig.link.readScene(scene, 0, 30), -1);
    QCOMPARE(scene, sceneBefore);

    t_program program;
    const t_program programBefore = program;
    rig.controller.failRequests(usb::READ_MEMORY_REQUEST, 100, 50);
    QCOMPARE(rig.link.readProgramScene(program, 0, 4, 30), -1);
    rig.controller.failRequests(usb::READ_MEMORY_REQUEST, 100, 500);
    QCOMPARE(rig.link.readProgram(program, 0, 30), -1);
    QCOMPARE(program, programBefore);
}

void TstControllerLink::programWriteSendsAllStepsWithStepProgress()
{
    SimRig rig;
    t_program program;
    for (auto &step : program.scenes)
        setDefaults(step);
    program.scenes[0].scene_laststep = 1; // every step goes, whatever the marks
    QList<int> progress;
    QCOMPARE(rig.link.writeProgram(program, 1, 30, [&](int p) { progress << p; }), 0);
    QCOMPARE(rig.memoryRequests().size(), 31 * (4 + 90));
    QCOMPARE(progress.size(), 31);
    QCOMPARE(progress[1], 100 / 31);
    QCOMPARE(progress.last(), 100 * 30 / 31);
    // Step 2's fields: time at base + 4, cross-fade at base + 62 + 2, mark at base + 93 + 2.
    const auto log = rig.memoryRequests();
    const int base = 0xAE3E;
    const auto addressOf = [](const SimController::Request &r) { return r.value * 256 + r.index; };
    QCOMPARE(addressOf(log[2 * 94]), base + 4);
    QCOMPARE(addressOf(log[2 * 94 + 1]), base + 5);
    QCOMPARE(addressOf(log[2 * 94 + 2]), base + 64);
    QCOMPARE(addressOf(log[2 * 94 + 3]), base + 95);
    QCOMPARE(addressOf(log[2 * 94 + 4]), base + 124 + 1020);
    QCOMPARE(quint8(log[0].data[0]), quint8(10)); // 1000 ms
}

void TstControllerLink::runCommandsAndBlackout()
{
    SimRig rig;
    QCOMPARE(rig.link.runScene(3), 0);
    auto last = rig.controller.requests().last();
    QCOMPARE(last.request, quint8(16));
    QCOMPARE(last.value, quint16(3));
    QCOMPARE(last.index, quint16(0));
    QCOMPARE(last.length, quint16(0));
    QCOMPARE(rig.controller.playing(), SimController::Playing::Scene);
    QCOMPARE(rig.link.runProgram(2), 0);
    QCOMPARE(rig.controller.playing(), SimController::Playing::Program);
    QCOMPARE(rig.controller.playingNumber(), 2);
    QCOMPARE(rig.link.runChaser(4), -1); // the controller refuses chasers it does not have
    QCOMPARE(rig.link.blackout(), 0);
    QCOMPARE(rig.controller.playing(), SimController::Playing::Blackout);
    rig.bus.unplug(rig.controller);
    QCOMPARE(rig.link.blackout(), -1);
    QCOMPARE(rig.link.runScene(0), -1);
}

void TstControllerLink::blocksAndEndOfPass()
{
    SimRig rig;
    unsigned char block[64];
    for (int i = 0; i < 64; ++i)
        block[i] = quint8(i);
    QCOMPARE(rig.link.writeBlock(511, 192, block), 64);
    QCOMPARE(rig.controller.byteAt(0x1FFFF), quint8(63));
    QVERIFY(rig.controller.mainLoopHeld());
    QCOMPARE(rig.link.endPass(1, 192), 1);
    QVERIFY(!rig.controller.mainLoopHeld());
    unsigned char back[64] = {};
    QCOMPARE(rig.link.readBlock(511, 192, back), 64);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(back), 64),
             QByteArray(reinterpret_cast<char *>(block), 64));
    QCOMPARE(rig.link.writeBlock(0, 0, nullptr), -1);
    QCOMPARE(rig.link.readBlock(512, 0, back), -1); // past the memory: stalled
    const auto &log = rig.controller.requests();
    QCOMPARE(log[1].request, quint8(9));
    QCOMPARE(log[1].value, quint16(1));
    QCOMPARE(log[1].index, quint16(192));
    QCOMPARE(log[1].length, quint16(1));
}

void TstControllerLink::upgradeRequests()
{
    SimRig rig;
    unsigned char half[64];
    QCOMPARE(rig.link.upgradeData(0, half), -1); // only in upgrade mode
    rig.controller.setUpgradeMode(true);
    rig.controller.setProgrammingPolls(2);
    for (int i = 0; i < 64; ++i)
        half[i] = quint8(i);
    QCOMPARE(rig.link.upgradeData(0, half), 64);
    for (int i = 0; i < 64; ++i)
        half[i] = quint8(200 - i);
    QCOMPARE(rig.link.upgradeData(1, half), 64);
    QCOMPARE(rig.link.readId(1), 740);
    QCOMPARE(rig.link.upgradeWrite(256), 0);
    QCOMPARE(rig.controller.blocksProgrammed(), 1);
    // Busy programming: the next two identifications go unanswered, then it is back.
    QCOMPARE(rig.link.readId(1), -1);
    QCOMPARE(rig.link.readId(1), -1);
    QCOMPARE(rig.link.readId(1), 740);
    unsigned char back[64] = {};
    QCOMPARE(rig.link.upgradeRead(256, 0, back), 64);
    QCOMPARE(back[5], quint8(5));
    QCOMPARE(rig.link.upgradeRead(256, 1, back), 64);
    QCOMPARE(back[5], quint8(195));
    QCOMPARE(rig.link.upgradeRead(0, 0, back), 64);
    QCOMPARE(back[0], quint8(0xFF)); // never programmed
    // Memory requests are not served in upgrade mode.
    char byte;
    QCOMPARE(rig.link.setByte(2, 1), -1);
    QCOMPARE(rig.link.getBytes(2, &byte, 1), -1);
}

void TstControllerLink::identificationAndVersion()
{
    SimRig rig;
    QByteArray text;
    QCOMPARE(rig.link.readId(), 740);
    QCOMPARE(rig.link.readVersion(&text), 32);
    QCOMPARE(text, QByteArray("rel_0_16"));
    rig.controller.setVersionText(QByteArray(40, 'v')); // no zero byte at all
    QCOMPARE(rig.link.readVersion(&text), 32);
    QCOMPARE(text, QByteArray(32, 'v'));
    rig.controller.answerShortNext(1);
    text = "kept";
    QCOMPARE(rig.link.readVersion(&text), 31);
    QCOMPARE(text, QByteArray("kept"));
    rig.controller.setIdentification(0x1234);
    QCOMPARE(rig.link.readId(), 0x1234);
}

QTEST_GUILESS_MAIN(TstControllerLink)
#include "tst_controller_link.moc"
