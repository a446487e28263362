// UsbDevice over the simulated bus: how it finds, opens, identifies and leaves the controller, what
// it refuses to send, and how it recovers after a failure or an unplugged cable.
#include "libusb_bus.h"
#include "log_capture.h"
#include "sim_rig.h"
#include "usb_device.h"
#include "usb_requests.h"

#include <QtTest>

#include <libusb.h>

#include <latch>
#include <thread>

using namespace lm740;

class TstUsbDevice : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opensConfiguresClaimsAndIdentifies();
    void identificationMustBeExactly740();
    void identificationMustBeExactly740_data();
    void firstIdentifiedDeviceInBusOrderWins();
    void deviceRefusingConfigurationOrInterfaceIsSkipped();
    void choosesByNameAndNeverGuesses_data();
    void choosesByNameAndNeverGuesses();
    void keepsToTheOneFoundByName();
    void listsEveryLm740WithItsNames();
    void noDeviceMeansEveryOperationFails();
    void searchReportsMissingPermission();
    void outRequestWithoutDataHasNoDataStage();
    void outPayloadOverLimitIsRefusedAndCloses();
    void inRequestRefusedForLengthOrBufferCloses();
    void inRequestRefusedForLengthOrBufferCloses_data();
    void failedTransferClosesAndNextOneReopens();
    void unplugAndReplugIsRecovered();
    void openWhileOpenSearchesAgain();
    void bulkPairNeverOpensAndNeverCloses();
    void destructionClosesTheHandle();
    void libusbWithoutTheControllerFindsNothing();
    void oneLockForEveryDeviceOfTheProcess();
    void everyFailureIsTracedOnceWithItsCause();
    void everyFailureIsTracedOnceWithItsCause_data();
    void errorNamesAreLibusbs();
};

void TstUsbDevice::opensConfiguresClaimsAndIdentifies()
{
    SimRig rig(SimRig::Start::Plugged);
    QCOMPARE(rig.device.isOpen(), -1);
    QCOMPARE(rig.device.open(), 0);
    QCOMPARE(rig.device.isOpen(), 0);
    QCOMPARE(rig.bus.operations, QStringList({"open 1.1", "config 1", "claim 0"}));
    QCOMPARE(rig.controller.requests().size(), 1);
    const SimController::Request id = rig.controller.requests().first();
    QCOMPARE(id.requestType, quint8(0xC0));
    QCOMPARE(id.request, quint8(0xFF));
    QCOMPARE(id.value, quint16(0));
    QCOMPARE(id.index, quint16(0));
    QCOMPARE(id.length, quint16(2));
    QCOMPARE(rig.device.lastSearchResult(), UsbDevice::SearchResult::Found);

    rig.device.close();
    QCOMPARE(rig.device.isOpen(), -1);
    QCOMPARE(rig.bus.operations.mid(3), QStringList({"release 0", "close"}));
    QCOMPARE(rig.bus.openHandles(), 0);
    rig.device.close(); // nothing held: nothing happens
    QCOMPARE(rig.bus.operations.size(), 5);
}

// An answer lost on the way is asked for again; a wrong answer, or a device that times out, is not.
void TstUsbDevice::identificationMustBeExactly740_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("count");
    QTest::addColumn<UsbDevice::SearchResult>("result");
    QTest::addColumn<int>("asked"); // identification requests
    using R = UsbDevice::SearchResult;
    const int all = UsbDevice::kIdentifyAttempts;
    QTest::newRow("740") << 740 << "" << 0 << R::Found << 1;
    QTest::newRow("first byte right, second wrong")
        << (0xE4 | 0x0300) << "" << 0 << R::OtherDevice << 1;
    QTest::newRow("other device") << 741 << "" << 0 << R::OtherDevice << 1;
    QTest::newRow("one byte, then whole") << 740 << "short" << 1 << R::Found << 2;
    QTest::newRow("one byte every time") << 740 << "short" << all << R::NotIdentified << all;
    QTest::newRow("lost, then answered") << 740 << "fail" << all - 1 << R::Found << all;
    QTest::newRow("lost every time") << 740 << "fail" << all << R::NotIdentified << all;
    QTest::newRow("times out") << 740 << "timeout" << 1 << R::NotIdentified << 1;
}

void TstUsbDevice::identificationMustBeExactly740()
{
    QFETCH(int, id);
    QFETCH(QString, fault);
    QFETCH(int, count);
    QFETCH(UsbDevice::SearchResult, result);
    QFETCH(int, asked);
    SimRig rig(SimRig::Start::Plugged);
    rig.controller.setIdentification(quint16(id));
    if (fault == "short")
        rig.controller.answerShortNext(count);
    if (fault == "fail")
        rig.controller.failNext(count);
    if (fault == "timeout")
        rig.controller.timeOutNext(count);
    const int expected = result == UsbDevice::SearchResult::Found ? 0 : -1;
    QCOMPARE(rig.device.open(), expected);
    QCOMPARE(rig.device.isOpen(), expected);
    QCOMPARE(rig.device.lastSearchResult(), result);
    QCOMPARE(rig.controller.requests().size(), asked);
    if (expected < 0)
        QCOMPARE(rig.bus.openHandles(), 0);
}

void TstUsbDevice::firstIdentifiedDeviceInBusOrderWins()
{
    SimBus bus;
    SimController impostor, first, second, stranger;
    stranger.vendorId = 0x1234;
    impostor.setIdentification(741);
    // Plugged out of order: bus 2 first, then bus 1.
    bus.plug(second, 2);
    bus.plug(stranger, 1);
    bus.plug(impostor, 1);
    bus.plug(first, 1);
    UsbDevice device(bus);
    device.setIds(usb::kVendorId, usb::kProductId);

    QCOMPARE(device.open(), 0);
    // The stranger is never opened; the impostor is opened, refused and closed before the next.
    QCOMPARE(bus.operations, QStringList({"open 1.3", "config 1", "claim 0", "release 0", "close",
                                          "open 1.4", "config 1", "claim 0"}));
    QVERIFY(stranger.requests().isEmpty());
    QCOMPARE(impostor.requests().size(), 1);
    QCOMPARE(second.requests().size(), 0);

    // The transfers now go to the first good controller.
    unsigned char byte = 0x5A;
    QCOMPARE(device.controlOut(usb::WRITE_BYTE_REQUEST, 0, 20, &byte, 1), 1);
    QCOMPARE(first.byteAt(20), quint8(0x5A));
    QCOMPARE(second.byteAt(20), quint8(0));

    // With the first one gone, the search goes on to bus 2.
    bus.unplug(first);
    QCOMPARE(device.open(), 0);
    QCOMPARE(device.controlOut(usb::WRITE_BYTE_REQUEST, 0, 20, &byte, 1), 1);
    QCOMPARE(second.byteAt(20), quint8(0x5A));
}

// Three Lm740s and an impostor in sockets 1-1 (serial S-A), 1-2 (the impostor), 1-3 (no serial)
// and 2-1 (serial S-C), each with byte 20 of its memory to tell which one a transfer reached.
struct FourSockets
{
    SimBus bus;
    SimController a, impostor, b, c;
    UsbDevice device{bus};
    FourSockets()
    {
        a.serialNumber = "S-A";
        c.serialNumber = "S-C";
        impostor.setIdentification(741);
        c.setRelease(0, 15);
        bus.plug(c, 2);
        for (SimController *s : {&a, &impostor, &b})
            bus.plug(*s, 1);
        device.setIds(usb::kVendorId, usb::kProductId);
    }
    // The socket whose controller got the byte, or "".
    QString reached()
    {
        unsigned char byte = 0x5A;
        if (device.controlOut(usb::WRITE_BYTE_REQUEST, 0, 20, &byte, 1) != 1)
            return {};
        const std::pair<SimController *, const char *> sockets[] = {
            {&a, "1-1"}, {&b, "1-3"}, {&c, "2-1"}};
        QString port;
        for (auto [controller, name] : sockets)
            if (controller->byteAt(20) == 0x5A)
                port += QLatin1String(name);
        return port;
    }
};

void TstUsbDevice::choosesByNameAndNeverGuesses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("choiceRequired");
    QTest::addColumn<QString>("unplugged"); // a socket emptied before the search
    QTest::addColumn<QString>("reached");   // empty: none
    QTest::addColumn<UsbDevice::SearchResult>("result");
    using R = UsbDevice::SearchResult;
    QTest::newRow("no name: the first") << "" << false << ""
                                        << "1-1" << R::Found;
    QTest::newRow("no name, choice required") << "" << true << ""
                                              << "" << R::Several;
    QTest::newRow("choice required, one left") << "" << true << "1-1,1-3"
                                               << "2-1" << R::Found;
    QTest::newRow("by port") << "1-3" << true << ""
                             << "1-3" << R::Found;
    QTest::newRow("by serial, in another socket") << "S-C" << false << ""
                                                  << "2-1" << R::Found;
    QTest::newRow("the impostor's port") << "1-2" << true << ""
                                         << "" << R::OtherDevice;
    QTest::newRow("no such socket") << "9-9" << false << ""
                                    << "" << R::NotFound;
    QTest::newRow("the chosen one gone: no other") << "1-3" << false << "1-3"
                                                   << "" << R::NotFound;
    QTest::newRow("a port is no serial") << "1" << false << ""
                                         << "" << R::NotFound;
}

void TstUsbDevice::choosesByNameAndNeverGuesses()
{
    QFETCH(QString, name);
    QFETCH(bool, choiceRequired);
    QFETCH(QString, unplugged);
    QFETCH(QString, reached);
    QFETCH(UsbDevice::SearchResult, result);
    FourSockets rig;
    for (const QString &port : unplugged.split(QLatin1Char(','), Qt::SkipEmptyParts))
        rig.bus.unplug(port == QLatin1String("1-1")   ? rig.a
                       : port == QLatin1String("1-3") ? rig.b
                                                      : rig.c);
    rig.device.setName(name);
    rig.device.setChoiceRequired(choiceRequired);
    QCOMPARE(rig.device.open(), reached.isEmpty() ? -1 : 0);
    QCOMPARE(rig.device.lastSearchResult(), result);
    QCOMPARE(rig.device.openPort(), reached);
    QCOMPARE(rig.reached(), reached);
    QCOMPARE(rig.bus.openHandles(), reached.isEmpty() ? 0 : 1);
}

// A program that found the only controller keeps to it by its port: naming the one open keeps it
// open, and a search after another one came finds that one again, not the first in bus order.
void TstUsbDevice::keepsToTheOneFoundByName()
{
    FourSockets rig;
    rig.bus.unplug(rig.a);
    rig.bus.unplug(rig.b);
    rig.device.setChoiceRequired(true);
    QCOMPARE(rig.device.open(), 0);
    QCOMPARE(rig.device.openPort(), QStringLiteral("2-1"));
    rig.bus.operations.clear();
    rig.device.setName(QStringLiteral("2-1"));
    QCOMPARE(rig.device.isOpen(), 0);
    QCOMPARE(rig.bus.operations, QStringList());
    rig.bus.plug(rig.a, 1);
    QCOMPARE(rig.device.open(), 0);
    QCOMPARE(rig.reached(), QStringLiteral("2-1"));
    rig.device.setName(QStringLiteral("1-1"));
    QCOMPARE(rig.device.isOpen(), -1); // what was open is not the one named now
}

void TstUsbDevice::listsEveryLm740WithItsNames()
{
    FourSockets rig;
    QVERIFY(rig.device.open() == 0);
    const std::vector<ControllerInfo> found = rig.device.listControllers();
    QStringList seen;
    for (const ControllerInfo &c : found)
        seen << c.label() + QLatin1Char(' ') + QString::fromLatin1(c.serial);
    QCOMPARE(seen, QStringList({"1-1 (rel_0_16) S-A", "1-3 (rel_0_16) ", "2-1 (rel_0_15) S-C"}));
    QCOMPARE(rig.bus.openHandles(), 0); // the listing leaves nothing open, the link neither
    QCOMPARE(rig.device.lastSearchPorts(), QStringList({"1-1", "1-2", "1-3", "2-1"}));

    // A socket keeps its name when its controller comes back, at whatever address.
    rig.bus.unplug(rig.b);
    rig.bus.plug(rig.b, 1);
    rig.device.setName(QStringLiteral("1-3"));
    QCOMPARE(rig.reached(), QStringLiteral("1-3"));

    // One that may not be opened is not listed, and the search says why the list is short.
    SimBus bus;
    SimController refused;
    refused.openError = UsbBus::ErrorAccess;
    bus.plug(refused);
    UsbDevice device(bus);
    device.setIds(usb::kVendorId, usb::kProductId);
    QVERIFY(device.listControllers().empty());
    QCOMPARE(device.lastSearchResult(), UsbDevice::SearchResult::NoPermission);
}

void TstUsbDevice::deviceRefusingConfigurationOrInterfaceIsSkipped()
{
    SimBus bus;
    SimController noConfig, noInterface, good;
    noConfig.refuseConfiguration = true;
    noInterface.refuseInterface = true;
    bus.plug(noConfig);
    bus.plug(noInterface);
    bus.plug(good);
    UsbDevice device(bus);
    device.setIds(usb::kVendorId, usb::kProductId);

    QCOMPARE(device.open(), 0);
    QCOMPARE(bus.operations,
             QStringList({"open 1.1", "config 1", "release 0", "close", "open 1.2", "config 1",
                          "claim 0", "release 0", "close", "open 1.3", "config 1", "claim 0"}));
    QVERIFY(noConfig.requests().isEmpty());
    QVERIFY(noInterface.requests().isEmpty());
    QCOMPARE(bus.openHandles(), 1);
}

void TstUsbDevice::noDeviceMeansEveryOperationFails()
{
    SimRig rig(SimRig::Start::Unplugged);
    unsigned char buffer[2] = {};
    QCOMPARE(rig.device.open(), -1);
    QCOMPARE(rig.device.lastSearchResult(), UsbDevice::SearchResult::NotFound);
    QCOMPARE(rig.device.controlIn(usb::LM_ID_REQUEST, 0, 0, buffer, 2), -1);
    QCOMPARE(rig.device.controlOut(usb::BLACKOUT_REQUEST, 0, 0, nullptr, 0), -1);
    QCOMPARE(rig.device.bulkWrite(buffer, 2), -1);
    QCOMPARE(rig.device.bulkRead(buffer, 2), -1);
    QCOMPARE(rig.device.isOpen(), -1);
    QVERIFY(rig.bus.operations.isEmpty());

    // The ids decide what is searched for.
    rig.bus.plug(rig.controller);
    rig.device.setIds(usb::kVendorId, 0x0782);
    QCOMPARE(rig.device.open(), -1);
    rig.device.setIds(usb::kVendorId, usb::kProductId);
    QCOMPARE(rig.device.open(), 0);
}

void TstUsbDevice::searchReportsMissingPermission()
{
    SimRig rig(SimRig::Start::Plugged);
    rig.controller.openError = UsbBus::ErrorAccess;
    QCOMPARE(rig.device.open(), -1);
    QCOMPARE(rig.device.lastSearchResult(), UsbDevice::SearchResult::NoPermission);
    rig.controller.openError = 0;
    QCOMPARE(rig.device.open(), 0);
    QCOMPARE(rig.device.lastSearchResult(), UsbDevice::SearchResult::Found);
}

void TstUsbDevice::outRequestWithoutDataHasNoDataStage()
{
    SimRig rig(SimRig::Start::Plugged);
    const unsigned char payload[4] = {1, 2, 3, 4};
    QCOMPARE(rig.device.controlOut(usb::RUN_SCENE_REQUEST, 3, 0, nullptr, 5), 0);
    QCOMPARE(rig.device.controlOut(usb::RUN_CHASER_REQUEST, 2, 0, payload, 0), 0);
    const auto &log = rig.controller.requests();
    QCOMPARE(log.size(), 3); // identification, then the two requests
    for (int i = 1; i < 3; ++i) {
        QCOMPARE(log[i].requestType, quint8(0x40));
        QCOMPARE(log[i].length, quint16(0));
        QVERIFY(log[i].data.isEmpty());
    }
    QCOMPARE(log[1].request, quint8(16));
    QCOMPARE(log[1].value, quint16(3));
    QCOMPARE(rig.controller.playing(), SimController::Playing::Chaser);
    QCOMPARE(rig.controller.playingNumber(), 2);
}

void TstUsbDevice::outPayloadOverLimitIsRefusedAndCloses()
{
    SimRig rig(SimRig::Start::Plugged);
    unsigned char payload[65] = {};
    QCOMPARE(rig.device.open(), 0);
    QCOMPARE(rig.device.controlOut(usb::WRITE_BLOCK_REQUEST, 0, 0, payload, 65), -1);
    QCOMPARE(rig.device.controlOut(usb::WRITE_BLOCK_REQUEST, 0, 0, payload, -1), -1);
    QCOMPARE(rig.controller.requests().size(), 2); // the two identifications only
    QCOMPARE(rig.device.isOpen(), -1);
    QCOMPARE(rig.bus.openHandles(), 0);

    // The next transfer opens again; 64 bytes is the largest that goes.
    payload[63] = 0x77;
    QCOMPARE(rig.device.controlOut(usb::WRITE_BLOCK_REQUEST, 1, 0, payload, 64), 64);
    QCOMPARE(rig.controller.byteAt(256 + 63), quint8(0x77));
    QCOMPARE(rig.device.isOpen(), 0);
}

void TstUsbDevice::inRequestRefusedForLengthOrBufferCloses_data()
{
    QTest::addColumn<bool>("withBuffer");
    QTest::addColumn<int>("length");
    QTest::newRow("length 0") << true << 0;
    QTest::newRow("length 65") << true << 65;
    QTest::newRow("negative length") << true << -3;
    QTest::newRow("no buffer") << false << 1;
}

void TstUsbDevice::inRequestRefusedForLengthOrBufferCloses()
{
    QFETCH(bool, withBuffer);
    QFETCH(int, length);
    SimRig rig(SimRig::Start::Plugged);
    unsigned char buffer[80] = {};
    QCOMPARE(rig.device.open(), 0);
    QCOMPARE(
        rig.device.controlIn(usb::READ_MEMORY_REQUEST, 0, 0, withBuffer ? buffer : nullptr, length),
        -1);
    QCOMPARE(rig.controller.requests().size(), 1);
    QCOMPARE(rig.device.isOpen(), -1);
    QCOMPARE(rig.device.controlIn(usb::READ_MEMORY_REQUEST, 0, 2, buffer, 1), 1);
    QCOMPARE(buffer[0], quint8(30)); // a fresh controller's lamps number
}

void TstUsbDevice::failedTransferClosesAndNextOneReopens()
{
    SimRig rig(SimRig::Start::Plugged);
    unsigned char buffer[64] = {};
    QCOMPARE(rig.device.open(), 0);
    rig.controller.failNext(1);
    QCOMPARE(rig.device.controlIn(usb::VERSION_REQUEST, 0, 0, buffer, 32), -1);
    QCOMPARE(rig.device.isOpen(), -1);
    QCOMPARE(rig.bus.openHandles(), 0);

    // A time-out is waited out in simulated time only.
    rig.controller.timeOutNext(1);
    const qint64 before = rig.controller.elapsedMicroseconds();
    QCOMPARE(rig.device.controlIn(usb::VERSION_REQUEST, 0, 0, buffer, 32), -1);
    QCOMPARE(rig.controller.elapsedMicroseconds() - before, 1000 * 1000);

    // A short answer is not a failure of the transport: the caller checks the count.
    QCOMPARE(rig.device.open(), 0);
    rig.controller.answerShortNext(1);
    QCOMPARE(rig.device.controlIn(usb::VERSION_REQUEST, 0, 0, buffer, 32), 31);
    QCOMPARE(rig.device.isOpen(), 0);
    QCOMPARE(rig.device.controlIn(usb::VERSION_REQUEST, 0, 0, buffer, 32), 32);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(buffer)), QByteArray("rel_0_16"));
    // A request the controller does not know is stalled, which closes the link too.
    QCOMPARE(rig.device.controlIn(0x42, 0, 0, buffer, 4), -1);
    QCOMPARE(rig.device.isOpen(), -1);
}

void TstUsbDevice::unplugAndReplugIsRecovered()
{
    SimRig rig(SimRig::Start::Plugged);
    unsigned char byte = 1;
    QCOMPARE(rig.device.open(), 0);
    rig.bus.unplug(rig.controller);
    QCOMPARE(rig.device.controlOut(usb::WRITE_BYTE_REQUEST, 0, 5, &byte, 1), -1);
    QCOMPARE(rig.device.isOpen(), -1);
    QCOMPARE(rig.device.controlOut(usb::WRITE_BYTE_REQUEST, 0, 5, &byte, 1), -1);
    rig.bus.plug(rig.controller);
    QCOMPARE(rig.device.controlOut(usb::WRITE_BYTE_REQUEST, 0, 5, &byte, 1), 1);
    QCOMPARE(rig.controller.byteAt(5), quint8(1));
    QCOMPARE(rig.bus.openHandles(), 1);
}

void TstUsbDevice::openWhileOpenSearchesAgain()
{
    SimRig rig(SimRig::Start::Plugged);
    QCOMPARE(rig.device.open(), 0);
    QCOMPARE(rig.device.open(), 0);
    QCOMPARE(rig.bus.operations.mid(3, 3), QStringList({"release 0", "close", "open 1.1"}));
    QCOMPARE(rig.bus.openHandles(), 1);
    QCOMPARE(rig.controller.requests().size(), 2); // identified again
}

void TstUsbDevice::bulkPairNeverOpensAndNeverCloses()
{
    SimRig rig(SimRig::Start::Plugged);
    unsigned char out[3] = {7, 8, 9};
    unsigned char in[8] = {};
    QCOMPARE(rig.device.bulkWrite(out, 3), -1); // closed: no search for bulk transfers
    QVERIFY(rig.bus.operations.isEmpty());
    QCOMPARE(rig.device.open(), 0);
    QCOMPARE(rig.device.bulkWrite(nullptr, 3), -1);
    QCOMPARE(rig.device.bulkWrite(out, 0), -1);
    QCOMPARE(rig.device.bulkWrite(out, 3), 3);
    QCOMPARE(rig.device.bulkRead(in, 8), 3);
    QCOMPARE(in[2], quint8(9));
    rig.controller.failNext(1);
    QCOMPARE(rig.device.bulkRead(in, 8), -1);
    QCOMPARE(rig.device.isOpen(), 0); // a failed bulk transfer keeps the link
}

void TstUsbDevice::destructionClosesTheHandle()
{
    SimController controller;
    SimBus bus;
    bus.plug(controller);
    {
        UsbDevice device(bus);
        device.setIds(usb::kVendorId, usb::kProductId);
        QCOMPARE(device.open(), 0);
        QCOMPARE(bus.openHandles(), 1);
    }
    QCOMPARE(bus.openHandles(), 0);
}

void TstUsbDevice::libusbWithoutTheControllerFindsNothing()
{
    // No test machine has an Lm740; with or without a USB bus the search finds nothing, and a
    // transfer fails after its own search without waiting for anything.
    LibusbBus bus;
    UsbDevice device(bus);
    device.setIds(usb::kVendorId, usb::kProductId);
    unsigned char buffer[2] = {};
    QCOMPARE(device.open(), -1);
    QCOMPARE(device.controlIn(usb::LM_ID_REQUEST, 0, 0, buffer, 2), -1);
    QCOMPARE(device.isOpen(), -1);
}

void TstUsbDevice::oneLockForEveryDeviceOfTheProcess()
{
    // Two links to the same controller, used from two threads at once. The simulated controller
    // is not thread-safe itself: only the process-wide lock keeps its log and memory whole.
    SimRig rig(SimRig::Start::Plugged);
    UsbDevice &a = rig.device;
    UsbDevice b(rig.bus);
    b.setIds(usb::kVendorId, usb::kProductId);
    QCOMPARE(a.open(), 0);
    QCOMPARE(b.open(), 0);
    constexpr int kRequests = 20000;
    std::latch start(2);
    auto hammer = [&](UsbDevice &device, quint16 offset) {
        start.arrive_and_wait();
        for (int i = 0; i < kRequests; ++i) {
            const unsigned char byte = quint8(i);
            device.controlOut(usb::WRITE_BYTE_REQUEST, 0x100, offset, &byte, 1);
        }
    };
    std::thread first(hammer, std::ref(a), quint16(0));
    std::thread second(hammer, std::ref(b), quint16(1));
    first.join();
    second.join();
    QCOMPARE(rig.controller.requests().size(), 2 + 2 * kRequests);
    QCOMPARE(rig.controller.transferCount(), 2 + 2 * kRequests);
    QCOMPARE(rig.controller.byteAt(0x10000), quint8(kRequests - 1));
    QCOMPARE(rig.controller.byteAt(0x10001), quint8(kRequests - 1));
}

void TstUsbDevice::everyFailureIsTracedOnceWithItsCause_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("cause");
    QTest::newRow("transfer fails") << "fail"
                                    << "libusb_control_transfer (request 7 in, value 1, index 44, "
                                       "1 bytes) failed: LIBUSB_ERROR_IO";
    QTest::newRow("transfer times out") << "time out"
                                        << "failed: LIBUSB_ERROR_TIMEOUT";
    QTest::newRow("cable pulled") << "unplug"
                                  << "failed: LIBUSB_ERROR_NO_DEVICE";
    QTest::newRow("no permission") << "access"
                                   << "libusb_open (device 1.1) failed: LIBUSB_ERROR_ACCESS";
    QTest::newRow("configuration refused")
        << "configuration"
        << "libusb_set_configuration (device 1.1) failed: LIBUSB_ERROR_BUSY";
    QTest::newRow("interface refused")
        << "interface"
        << "libusb_claim_interface (device 1.1) failed: LIBUSB_ERROR_BUSY";
    QTest::newRow("another device") << "identification"
                                    << "(device 1.1) is not an Lm740";
    QTest::newRow("nothing there") << "nothing"
                                   << "no device 16c0:0781 on the bus";
    QTest::newRow("buffer too long") << "length"
                                     << "refused (request 7 in, value 1, index 44, "
                                        "65 bytes)";
    QTest::newRow("bulk while closed") << "bulk"
                                       << "the controller is not open";
}

void TstUsbDevice::everyFailureIsTracedOnceWithItsCause()
{
    QFETCH(QString, fault);
    QFETCH(QString, cause);
    SimRig rig(SimRig::Start::Plugged);
    const bool open =
        fault == "fail" || fault == "time out" || fault == "unplug" || fault == "length";
    if (open)
        QCOMPARE(rig.device.open(), 0);
    if (fault == "fail")
        rig.controller.failNext(1);
    else if (fault == "time out")
        rig.controller.timeOutNext(1);
    else if (fault == "unplug" || fault == "nothing")
        rig.bus.unplug(rig.controller);
    else if (fault == "access")
        rig.controller.openError = UsbBus::ErrorAccess;
    else if (fault == "configuration")
        rig.controller.refuseConfiguration = true;
    else if (fault == "interface")
        rig.controller.refuseInterface = true;
    else if (fault == "identification")
        rig.controller.setIdentification(741);

    LogCapture log("lm740.usb");
    unsigned char buffer[65] = {};
    const int length = fault == "length" ? 65 : 1;
    if (fault == "bulk")
        QCOMPARE(rig.device.bulkRead(buffer, 8), -1);
    else
        QCOMPARE(rig.device.controlIn(usb::READ_MEMORY_REQUEST, 1, 44, buffer, length), -1);
    QCOMPARE(log.messages.size(), 1);
    QVERIFY2(log.messages.first().contains(cause), qPrintable(log.messages.first()));
}

void TstUsbDevice::errorNamesAreLibusbs()
{
    for (int error = -12; error < 0; ++error)
        QCOMPARE(errorName(error), libusb_error_name(error));
    QCOMPARE(errorName(UsbBus::ErrorOther), libusb_error_name(LIBUSB_ERROR_OTHER));
}

QTEST_GUILESS_MAIN(TstUsbDevice)
#include "tst_usb_device.moc"
