// The simulated controller as a test double must itself be right: its answers and lengths, its
// faults (counted, probable, short, slow, timing out), its upgrade mode and its .set file.
#include "sim_bus.h"
#include "sim_controller.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace lm740;

class TstSimController : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void freshControllerHoldsAFreshShow();
    void answersWithExactlyTheLengthsAsked();
    void unknownOrMisplacedRequestsAreStalled();
    void failuresWithAProbabilityAreRepeatable();
    void latencyAndTimeOutsAreSimulatedTime();
    void upgradeModeProgramsBlocksAndReadsThemBack();
    void settingsFileRoundTrip();
    void settingsFileOfWrongSizeIsRefused();
    void unpluggedControllerFailsItsOpenHandles();
};

namespace {
int in(SimController &c, quint8 request, quint16 value, quint16 index, QByteArray &buffer,
       int length)
{
    buffer = QByteArray(length, '\x7f');
    return c.control(0xC0, request, value, index, reinterpret_cast<unsigned char *>(buffer.data()),
                     quint16(length), 1000);
}
int out(SimController &c, quint8 request, quint16 value, quint16 index, QByteArray data = {})
{
    return c.control(0x40, request, value, index,
                     data.isEmpty() ? nullptr : reinterpret_cast<unsigned char *>(data.data()),
                     quint16(data.size()), 1000);
}
} // namespace

void TstSimController::freshControllerHoldsAFreshShow()
{
    SimController c;
    QCOMPARE(c.memory().size(), std::size_t(131072));
    QCOMPARE(c.byteAt(layout::kLampsNumber), quint8(30));
    QCOMPARE(c.byteAt(layout::kInSceneTime), quint8(1));
    QCOMPARE(c.byteAt(layout::kChannelCountLow), quint8(90));
    QCOMPARE(c.byteAt(layout::chaserAddress(0)), quint8(10)); // 1000 ms
    QCOMPARE(c.byteAt(layout::chaserAddress(0) + layout::kChaserRepeat), quint8(1));
    QCOMPARE(c.playing(), SimController::Playing::Nothing);
    // Every item as a fresh show packs it.
    std::vector<quint8> expected(c.memory().size(), 0);
    const auto fresh = std::make_unique<Show>();
    fresh->setShowDefaults();
    for (int s = 0; s < kSceneCount; ++s)
        layout::packScene(expected, s, fresh->sceneColors[s], kMaxLamps);
    for (int ch = 0; ch < kChaserCount; ++ch)
        layout::packChaser(expected, ch, fresh->chasers[ch], kMaxLamps);
    for (int p = 0; p < kProgramCount; ++p)
        layout::packProgram(expected, p, fresh->programs[p], kMaxLamps);
    for (int a : {layout::kLampsNumber, layout::kChannelCountLow, layout::kChannelCountHigh,
                  layout::kInSceneTime})
        expected[std::size_t(a)] = c.byteAt(a);
    QVERIFY(c.memory() == expected);
}

void TstSimController::answersWithExactlyTheLengthsAsked()
{
    SimController c;
    QByteArray b;
    QCOMPARE(in(c, usb::LM_ID_REQUEST, 0, 0, b, 2), 2);
    QCOMPARE(b, QByteArray("\xe4\x02"));
    QCOMPARE(in(c, usb::VERSION_REQUEST, 0, 0, b, 32), 32);
    QCOMPARE(b, QByteArray("rel_0_16").leftJustified(32, '\0'));
    c.setRelease(1, 5);
    QCOMPARE(in(c, usb::VERSION_REQUEST, 0, 0, b, 32), 32);
    QVERIFY(b.startsWith("rel_1_05\0"));
    c.setByteAt(0x1FFC0, 9);
    QCOMPARE(in(c, usb::READ_MEMORY_REQUEST, 0x1FF, 0xC0, b, 64), 64);
    QCOMPARE(b[0], '\x09');
    QCOMPARE(in(c, usb::END_PASS_REQUEST, 0, 192, b, 1), 1);
    QCOMPARE(c.passesEnded(), 1);
    QCOMPARE(out(c, usb::WRITE_BYTE_REQUEST, 1, 44, QByteArray("\x05")), 1);
    QCOMPARE(c.byteAt(300), quint8(5));
    QCOMPARE(out(c, usb::WRITE_BLOCK_REQUEST, 2, 64, QByteArray(64, '\x21')), 64);
    QCOMPARE(c.byteAt(512 + 64 + 63), quint8(0x21));
    QCOMPARE(out(c, usb::RUN_PROGRAM_REQUEST, 3, 0), 0);
    QCOMPARE(c.playing(), SimController::Playing::Program);

    c.answerShortNext(2);
    QCOMPARE(in(c, usb::VERSION_REQUEST, 0, 0, b, 32), 31);
    QCOMPARE(out(c, usb::WRITE_BYTE_REQUEST, 1, 44, QByteArray("\x06")), 0);
    QCOMPARE(c.byteAt(300), quint8(5)); // a write cut short stores nothing

    // The log holds each request with what travelled.
    const SimController::Request &last = c.requests().last();
    QCOMPARE(last.request, quint8(12));
    QCOMPARE(last.value, quint16(1));
    QCOMPARE(last.index, quint16(44));
    QCOMPARE(last.data, QByteArray("\x06"));
    QCOMPARE(last.result, 0);
    QCOMPARE(c.requests().at(1).data.size(), 32);
    c.setLogging(false);
    out(c, usb::BLACKOUT_REQUEST, 0, 0);
    QCOMPARE(c.requests().size(), 10);
    QCOMPARE(c.transferCount(), 11);
}

void TstSimController::unknownOrMisplacedRequestsAreStalled()
{
    SimController c;
    QByteArray b;
    QCOMPARE(in(c, 0x33, 0, 0, b, 4), int(UsbBus::ErrorPipe));
    QCOMPARE(in(c, usb::READ_MEMORY_REQUEST, 0x200, 0, b, 1), int(UsbBus::ErrorPipe));
    QCOMPARE(in(c, usb::READ_MEMORY_REQUEST, 0x1FF, 0xFF, b, 2), int(UsbBus::ErrorPipe));
    QCOMPARE(out(c, usb::WRITE_BYTE_REQUEST, 0, 0, QByteArray("ab")), int(UsbBus::ErrorPipe));
    QCOMPARE(out(c, usb::RUN_SCENE_REQUEST, 10, 0), int(UsbBus::ErrorPipe));
    QCOMPARE(out(c, usb::UPGRADE_WRITE_REQUEST, 0, 0), int(UsbBus::ErrorPipe));
    QCOMPARE(c.control(0x21, usb::LM_ID_REQUEST, 0, 0, nullptr, 0, 1000), int(UsbBus::ErrorPipe));
    QCOMPARE(c.playing(), SimController::Playing::Nothing);

    // Memory moves in single bytes or whole blocks, and the end of a pass answers one byte: other
    // lengths are refused, and an end of pass with no room for its answer writes nothing.
    QCOMPARE(in(c, usb::READ_MEMORY_REQUEST, 0, 0, b, 2), int(UsbBus::ErrorPipe));
    QCOMPARE(in(c, usb::READ_MEMORY_REQUEST, 0, 0, b, 32), int(UsbBus::ErrorPipe));
    QCOMPARE(out(c, usb::WRITE_BLOCK_REQUEST, 0, 0, QByteArray(32, '\x21')),
             int(UsbBus::ErrorPipe));
    QCOMPARE(c.byteAt(0), quint8(0));
    QCOMPARE(c.control(0xC0, usb::END_PASS_REQUEST, 0, 0, nullptr, 0, 1000),
             int(UsbBus::ErrorPipe));
    QCOMPARE(c.passesEnded(), 0);
    c.setUpgradeMode(true);
    QCOMPARE(in(c, usb::UPGRADE_READ_REQUEST, 0, 0, b, 32), int(UsbBus::ErrorPipe));
}

void TstSimController::failuresWithAProbabilityAreRepeatable()
{
    auto pattern = [](quint32 seed) {
        SimController c;
        c.setFailureProbability(0.3, seed);
        QByteArray b;
        QString p;
        for (int i = 0; i < 200; ++i)
            p += in(c, usb::LM_ID_REQUEST, 0, 0, b, 2) == 2 ? '.' : 'x';
        return p;
    };
    const QString a = pattern(7);
    QCOMPARE(pattern(7), a);
    QVERIFY(pattern(8) != a);
    const auto failures = a.count('x');
    QVERIFY2(failures > 30 && failures < 90, qPrintable(a));
}

void TstSimController::latencyAndTimeOutsAreSimulatedTime()
{
    SimController c;
    QByteArray b;
    c.setLatencyMicroseconds(250);
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < 4; ++i)
        in(c, usb::LM_ID_REQUEST, 0, 0, b, 2);
    QCOMPARE(c.elapsedMicroseconds(), 1000);
    c.timeOutNext(3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(in(c, usb::LM_ID_REQUEST, 0, 0, b, 2), int(UsbBus::ErrorTimeout));
    QCOMPARE(c.elapsedMicroseconds(), 1000 + 3 * 250 + 3 * 1000 * 1000);
    QVERIFY(wall.elapsed() < 1000); // three seconds of time-outs cost no real time
    QCOMPARE(in(c, usb::LM_ID_REQUEST, 0, 0, b, 2), 2);
}

void TstSimController::upgradeModeProgramsBlocksAndReadsThemBack()
{
    SimController c;
    QByteArray b;
    c.setUpgradeMode(true);
    QCOMPARE(out(c, usb::UPGRADE_DATA_REQUEST, 0, 0, QByteArray(64, 'a')), 64);
    QCOMPARE(out(c, usb::UPGRADE_DATA_REQUEST, 1, 0, QByteArray(64, 'b')), 64);
    QCOMPARE(out(c, usb::UPGRADE_DATA_REQUEST, 2, 0, QByteArray(64, 'c')), int(UsbBus::ErrorPipe));
    QCOMPARE(out(c, usb::UPGRADE_DATA_REQUEST, 0, 0, QByteArray(63, 'c')), int(UsbBus::ErrorPipe));
    QCOMPARE(out(c, usb::UPGRADE_WRITE_REQUEST, 384, 0), 0);
    QCOMPARE(in(c, usb::UPGRADE_READ_REQUEST, 384, 1, b, 64), 64);
    QCOMPARE(b, QByteArray(64, 'b'));
    QCOMPARE(in(c, usb::UPGRADE_READ_REQUEST, 384, 0, b, 64), 64);
    QCOMPARE(b, QByteArray(64, 'a'));
    QCOMPARE(c.firmware()[383], quint8(0xFF));
    QCOMPARE(out(c, usb::UPGRADE_WRITE_REQUEST, 0xFFC0, 0), int(UsbBus::ErrorPipe));
    // The identification and version still answer; settings memory and run commands do not.
    QCOMPARE(in(c, usb::LM_ID_REQUEST, 0, 0, b, 2), 2);
    QCOMPARE(in(c, usb::VERSION_REQUEST, 0, 0, b, 32), 32);
    QCOMPARE(in(c, usb::READ_MEMORY_REQUEST, 0, 0, b, 1), int(UsbBus::ErrorPipe));
    QCOMPARE(out(c, usb::BLACKOUT_REQUEST, 0, 0), int(UsbBus::ErrorPipe));
    c.setUpgradeMode(false);
    QCOMPARE(in(c, usb::UPGRADE_READ_REQUEST, 0, 0, b, 64), int(UsbBus::ErrorPipe));
}

void TstSimController::settingsFileRoundTrip()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("show.set");
    SimController a;
    a.setByteAt(0, 0x42);
    a.setByteAt(0x1FFFF, 0x43);
    QVERIFY(a.saveSettings(file));
    QCOMPARE(QFileInfo(file).size(), 131072);
    SimController b;
    QVERIFY(b.loadSettings(file));
    QCOMPARE(b.memory(), a.memory());
}

void TstSimController::settingsFileOfWrongSizeIsRefused()
{
    QTemporaryDir dir;
    for (int size : {0, 131071, 131073}) {
        const QString file = dir.filePath(QString("s%1.set").arg(size));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(size, '\x01'));
        f.close();
        SimController c;
        const auto before = c.memory();
        QString error;
        QVERIFY(!c.loadSettings(file, &error));
        QVERIFY(error.contains(QString::number(size)));
        QCOMPARE(c.memory(), before);
    }
    SimController c;
    QString error;
    QVERIFY(!c.loadSettings(dir.filePath("missing.set"), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!c.saveSettings(dir.filePath("no/such/dir/x.set"), &error));
}

void TstSimController::unpluggedControllerFailsItsOpenHandles()
{
    SimController c;
    SimBus bus;
    bus.plug(c, 3);
    auto devices = bus.listDevices();
    QCOMPARE(devices.size(), std::size_t(1));
    QCOMPARE(devices[0].busNumber, 3);
    UsbHandle h = nullptr;
    QCOMPARE(bus.open(devices[0], &h), 0);
    unsigned char id[2];
    QCOMPARE(bus.controlTransfer(h, 0xC0, usb::LM_ID_REQUEST, 0, 0, id, 2, 1000), 2);
    bus.unplug(c);
    QVERIFY(!bus.isPlugged(c));
    QVERIFY(bus.listDevices().empty());
    QCOMPARE(bus.controlTransfer(h, 0xC0, usb::LM_ID_REQUEST, 0, 0, id, 2, 1000),
             int(UsbBus::ErrorNoDevice));
    bus.close(h);
    QCOMPARE(bus.openHandles(), 0);
    // A listing taken before the unplug cannot open it either.
    bus.plug(c);
    devices = bus.listDevices();
    bus.unplug(c);
    QCOMPARE(bus.open(devices[0], &h), int(UsbBus::ErrorNoDevice));

    // Nor does such an entry open the controller that was listed after the unplugged one.
    SimController other;
    other.setIdentification(741);
    bus.plug(c);
    bus.plug(other);
    devices = bus.listDevices();
    QCOMPARE(devices.size(), std::size_t(2));
    bus.unplug(c);
    QCOMPARE(bus.open(devices[0], &h), int(UsbBus::ErrorNoDevice));
    QCOMPARE(bus.open(devices[1], &h), 0);
    QCOMPARE(bus.controlTransfer(h, 0xC0, usb::LM_ID_REQUEST, 0, 0, id, 2, 1000), 2);
    QCOMPARE(id[0] | (id[1] << 8), 741);
    bus.close(h);
}

QTEST_GUILESS_MAIN(TstSimController)
#include "tst_sim_controller.moc"
