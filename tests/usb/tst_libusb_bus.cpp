// UsbDevice over LibusbBus, through the real libusb-1.0 and its Linux backend, against simulated
// controllers plugged into a mocked kernel: how it walks the bus, what it asks of the kernel, the
// setup packets that reach the controller, and how each failure ends and is logged.
#include "libusb_bus.h"
#include "log_capture.h"
#include "mock_usb_kernel.h"
#include "usb_device.h"

#include <QtTest>

#include <libusb.h>

#include <deque>
#include <mutex>

using namespace lm740;

class TstLibusbBus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void noControllerFindsNothing();
    void opensConfiguresOnceClaimsIdentifiesAndReleases();
    void searchGoesInBusAndDeviceOrder();
    void listingIsStableAndOpenStaysInside();
    void refusedDeviceIsSkipped();
    void refusedDeviceIsSkipped_data();
    void controlTransfersCarryExactSetupPackets();
    void bulkPairLoopsBack();
    void failedTransferClosesAndNextOneReopens();
    void failedTransferClosesAndNextOneReopens_data();
    void unplugInTheMiddleOfATransferThenReplug();
    void twoControllersOnTwoPortsChosenByName();
};

namespace {

// What libusb itself says about how it was used: a device still referenced or a handle still open
// when the context ends is a leak of ours that no sanitizer sees inside libusb.
std::mutex libusbMutex;
QStringList libusbComplaints;

void recordLibusb(libusb_context *, enum libusb_log_level, const char *text)
{
    const QString message = QString::fromUtf8(text).trimmed();
    if (message.contains("still referenced") || message.contains("left some devices open")) {
        std::lock_guard lock(libusbMutex);
        libusbComplaints << message;
    }
}

// The controllers outlive the mocked kernel, which outlives the libusb context.
struct Rig
{
    std::deque<SimController> controllers;
    MockUsbKernel kernel;
    std::unique_ptr<LibusbBus> bus;
    std::unique_ptr<UsbDevice> device;

    MockUsbPort &plug(int busNumber, int address, const QString &port, bool configured = false)
    {
        return kernel.plug(controllers.emplace_back(), busNumber, address, port, configured);
    }
    // libusb starts when the test first needs it, with what is plugged in by then.
    UsbDevice &link()
    {
        if (!device) {
            bus = std::make_unique<LibusbBus>();
            device = std::make_unique<UsbDevice>(*bus);
            device->setIds(usb::kVendorId, usb::kProductId);
        }
        return *device;
    }
    ~Rig()
    {
        device.reset();
        bus.reset();
    }
};

// How often the log tells that `call` failed with `cause`: each libusb failure once, with both.
int traced(const LogCapture &log, const QString &call, const QString &cause)
{
    int times = 0;
    for (const QString &message : log.messages)
        times += message.contains(call) && message.contains(cause);
    return times;
}

void compareRequest(const SimController::Request &r, quint8 requestType, quint8 request,
                    quint16 value, quint16 index, quint16 length)
{
    QCOMPARE(r.requestType, requestType);
    QCOMPARE(r.request, request);
    QCOMPARE(r.value, value);
    QCOMPARE(r.index, index);
    QCOMPARE(r.length, length);
}

const QStringList kOpened = {"open", "config 1", "claim 0", "control"};

} // namespace

void TstLibusbBus::initTestCase()
{
    if (!MockUsbKernel::isMocked())
        QFAIL("run this test under umockdev-wrapper, as CTest does");
    qputenv("LIBUSB_DEBUG", "2"); // warnings, to the callback below
    libusb_set_log_cb(nullptr, recordLibusb, LIBUSB_LOG_CB_GLOBAL);
}

void TstLibusbBus::cleanup()
{
    std::lock_guard lock(libusbMutex);
    const QStringList complaints = std::exchange(libusbComplaints, {});
    QVERIFY2(complaints.isEmpty(), qPrintable(complaints.join('\n')));
}

void TstLibusbBus::noControllerFindsNothing()
{
    Rig rig;
    UsbDevice &device = rig.link();
    unsigned char byte = 1;
    QCOMPARE(device.open(), -1);
    QCOMPARE(device.lastSearchResult(), UsbDevice::SearchResult::NotFound);
    QCOMPARE(device.controlOut(usb::WRITE_BYTE_REQUEST, 0, 0, &byte, 1), -1);
    QCOMPARE(device.bulkWrite(&byte, 1), -1);
    QCOMPARE(device.isOpen(), -1);
}

void TstLibusbBus::opensConfiguresOnceClaimsIdentifiesAndReleases()
{
    Rig rig;
    MockUsbPort &port = rig.plug(1, 2, "1-1");
    UsbDevice &device = rig.link();

    QCOMPARE(device.open(), 0);
    QCOMPARE(device.isOpen(), 0);
    QCOMPARE(port.log(), kOpened);
    QCOMPARE(rig.controllers[0].requests().size(), 1);
    compareRequest(rig.controllers[0].requests()[0], 0xC0, usb::LM_ID_REQUEST, 0, 0, 2);

    device.close();
    QCOMPARE(port.openFiles(), 0);
    QCOMPARE(port.log().mid(4), QStringList({"release 0"}));
    QCOMPARE(port.configuration(), 1);

    // Configuration 1 is set now; setting it again would reset the controller, so it is not.
    port.clearLog();
    QCOMPARE(device.open(), 0);
    QCOMPARE(port.log(), QStringList({"open", "claim 0", "control"}));
}

// The status poll lists the bus every second: each listing gives the same indices, and no
// reference to a device outlives the listing after it (libusb would say so when it ends, which
// cleanup() checks). An index one past the listing opens nothing.
void TstLibusbBus::listingIsStableAndOpenStaysInside()
{
    Rig rig;
    rig.plug(1, 2, "1-1");
    rig.plug(1, 3, "1-2");
    rig.link();
    LibusbBus &bus = *rig.bus;
    const std::vector<UsbBusDevice> first = bus.listDevices();
    QCOMPARE(int(first.size()), 3); // the two, and bus 1's root hub they hang from
    for (int round = 0; round < 20; ++round) {
        const std::vector<UsbBusDevice> again = bus.listDevices();
        QCOMPARE(again.size(), first.size());
        for (std::size_t i = 0; i < again.size(); ++i) {
            QCOMPARE(again[i].index, int(i));
            QCOMPARE(again[i].address, first[i].address);
        }
    }
    UsbBusDevice past = first.back();
    past.index = int(first.size());
    UsbHandle handle = reinterpret_cast<UsbHandle>(&past);
    QCOMPARE(bus.open(past, &handle), int(UsbBus::ErrorNotFound));
    QVERIFY(!handle);
    QCOMPARE(bus.open(first.back(), &handle), 0);
    QVERIFY(handle);
    bus.close(handle);
}

void TstLibusbBus::searchGoesInBusAndDeviceOrder()
{
    // sysfs, and so libusb, list these by hub port: 1.9, 1.3, 1.5, then bus 2.
    Rig rig;
    MockUsbPort &late = rig.plug(1, 9, "1-1");
    rig.controllers.emplace_back().vendorId = 0x1234;
    MockUsbPort &stranger = rig.kernel.plug(rig.controllers.back(), 1, 3, "1-2");
    MockUsbPort &first = rig.plug(1, 5, "1-3");
    MockUsbPort &otherBus = rig.plug(2, 2, "2-1");
    UsbDevice &device = rig.link();

    QCOMPARE(device.open(), 0);
    QCOMPARE(first.log(), kOpened);
    for (MockUsbPort *untouched : {&late, &stranger, &otherBus})
        QVERIFY2(untouched->log().isEmpty(), qPrintable(untouched->log().join(", ")));

    // The first one stops answering as an Lm740: it is closed before the next in order is tried.
    first.clearLog();
    rig.controllers[2].setIdentification(741);
    QCOMPARE(device.open(), 0);
    QCOMPARE(first.openFiles(), 0);
    QCOMPARE(first.log(), QStringList({"release 0", "open", "claim 0", "control", "release 0"}));
    QCOMPARE(late.log(), kOpened);
    QVERIFY(otherBus.log().isEmpty() && stranger.log().isEmpty());
    unsigned char byte = 0x5A;
    QCOMPARE(device.controlOut(usb::WRITE_BYTE_REQUEST, 0, 20, &byte, 1), 1);
    QCOMPARE(rig.controllers[0].byteAt(20), quint8(0x5A));
}

void TstLibusbBus::refusedDeviceIsSkipped_data()
{
    QTest::addColumn<bool>("denied");
    QTest::addColumn<QStringList>("kernelLog");
    QTest::addColumn<UsbDevice::SearchResult>("result");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("cause");
    // Only a process with the right to the node gets as far as the kernel.
    QTest::newRow("no permission")
        << true << QStringList() << UsbDevice::SearchResult::NoPermission << "libusb_open"
        << "LIBUSB_ERROR_ACCESS";
    QTest::newRow("interface busy")
        << false << QStringList({"open", "claim 0: EBUSY"})
        << UsbDevice::SearchResult::NotIdentified << "libusb_claim_interface"
        << "LIBUSB_ERROR_BUSY";
}

void TstLibusbBus::refusedDeviceIsSkipped()
{
    QFETCH(bool, denied);
    QFETCH(QStringList, kernelLog);
    QFETCH(UsbDevice::SearchResult, result);
    QFETCH(QString, call);
    QFETCH(QString, cause);
    Rig rig;
    MockUsbPort &refused = rig.plug(1, 2, "1-1", true);
    refused.denyOpen(denied);
    refused.setInterfaceBusy(!denied);
    UsbDevice &device = rig.link();
    LogCapture log("lm740.usb");

    QCOMPARE(device.open(), -1);
    QCOMPARE(device.lastSearchResult(), result);
    QCOMPARE(traced(log, call, cause), 1);
    QCOMPARE(refused.openFiles(), 0);
    QCOMPARE(refused.log(), kernelLog);

    // A controller plugged in behind it is found by the next search.
    MockUsbPort &good = rig.plug(1, 4, "1-2");
    QCOMPARE(device.open(), 0);
    QCOMPARE(good.log(), kOpened);
    refused.denyOpen(false);
}

void TstLibusbBus::controlTransfersCarryExactSetupPackets()
{
    Rig rig;
    MockUsbPort &port = rig.plug(1, 2, "1-1");
    SimController &controller = rig.controllers[0];
    UsbDevice &device = rig.link();
    QCOMPARE(device.open(), 0);
    controller.clearRequests();

    unsigned char byte = 0xA5;
    QCOMPARE(device.controlOut(usb::WRITE_BYTE_REQUEST, 3, 17, &byte, 1), 1);
    QCOMPARE(device.controlOut(usb::RUN_SCENE_REQUEST, 5, 0, nullptr, 0), 0);
    unsigned char block[64];
    for (int i = 0; i < 64; ++i)
        block[i] = quint8(3 * i + 1);
    QCOMPARE(device.controlOut(usb::WRITE_BLOCK_REQUEST, 511, 192, block, 64), 64);
    unsigned char back[64] = {};
    QCOMPARE(device.controlIn(usb::READ_MEMORY_REQUEST, 3, 17, back, 1), 1);
    QCOMPARE(back[0], byte);
    QCOMPARE(device.controlIn(usb::READ_MEMORY_REQUEST, 511, 192, back, 64), 64);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(back), 64),
             QByteArray(reinterpret_cast<char *>(block), 64));

    const QList<SimController::Request> &r = controller.requests();
    QCOMPARE(r.size(), 5);
    compareRequest(r[0], 0x40, usb::WRITE_BYTE_REQUEST, 3, 17, 1);
    QCOMPARE(r[0].data, QByteArray(1, char(0xA5)));
    compareRequest(r[1], 0x40, usb::RUN_SCENE_REQUEST, 5, 0, 0);
    compareRequest(r[2], 0x40, usb::WRITE_BLOCK_REQUEST, 511, 192, 64);
    QCOMPARE(r[2].data, QByteArray(reinterpret_cast<char *>(block), 64));
    compareRequest(r[3], 0xC0, usb::READ_MEMORY_REQUEST, 3, 17, 1);
    compareRequest(r[4], 0xC0, usb::READ_MEMORY_REQUEST, 511, 192, 64);
    QCOMPARE(port.log().count("control"), 6);
    QCOMPARE(device.isOpen(), 0);
}

void TstLibusbBus::bulkPairLoopsBack()
{
    Rig rig;
    MockUsbPort &port = rig.plug(1, 2, "1-1");
    UsbDevice &device = rig.link();
    unsigned char out[64], in[64] = {};
    for (int i = 0; i < 64; ++i)
        out[i] = quint8(255 - i);
    QCOMPARE(device.bulkWrite(out, 64), -1); // the bulk pair never opens on its own
    QCOMPARE(device.open(), 0);
    QCOMPARE(device.bulkWrite(out, 64), 64);
    QCOMPARE(device.bulkRead(in, 64), 64);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(in), 64),
             QByteArray(reinterpret_cast<char *>(out), 64));
    QCOMPARE(port.log().mid(4), QStringList({"bulk 02", "bulk 81"}));

    // A failed bulk transfer is -1 but leaves the link open.
    rig.controllers[0].failNext(1);
    LogCapture log("lm740.usb");
    QCOMPARE(device.bulkWrite(out, 64), -1);
    QCOMPARE(traced(log, "libusb_bulk_transfer", "LIBUSB_ERROR_IO"), 1);
    QCOMPARE(device.isOpen(), 0);
    QCOMPARE(port.log().mid(6), QStringList({"bulk 02"}));
}

void TstLibusbBus::failedTransferClosesAndNextOneReopens_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QStringList>("kernelLog");
    QTest::addColumn<QString>("cause");
    // The controller that never answers is waited for as long as the link allows, one second.
    QTest::newRow("time-out") << 0 << QStringList({"control", "discard", "release 0"})
                              << "LIBUSB_ERROR_TIMEOUT";
    QTest::newRow("protocol error")
        << 1 << QStringList({"control", "release 0"}) << "LIBUSB_ERROR_IO";
    QTest::newRow("stall") << 2 << QStringList({"control", "release 0"}) << "LIBUSB_ERROR_PIPE";
}

void TstLibusbBus::failedTransferClosesAndNextOneReopens()
{
    QFETCH(int, fault);
    QFETCH(QStringList, kernelLog);
    QFETCH(QString, cause);
    Rig rig;
    MockUsbPort &port = rig.plug(1, 2, "1-1", true);
    SimController &controller = rig.controllers[0];
    UsbDevice &device = rig.link();
    QCOMPARE(device.open(), 0);
    port.clearLog();

    unsigned char buffer[32] = {};
    if (fault == 0)
        controller.timeOutNext(1);
    else if (fault == 1)
        controller.failNext(1);
    const quint8 request = fault == 2 ? 0x55 : usb::VERSION_REQUEST; // 0x55: no such request
    LogCapture log("lm740.usb");
    QCOMPARE(device.controlIn(request, 0, 0, buffer, 32), -1);
    QCOMPARE(traced(log, "libusb_control_transfer", cause), 1);
    QCOMPARE(device.isOpen(), -1);
    QCOMPARE(port.openFiles(), 0);
    QCOMPARE(port.log(), kernelLog);

    port.clearLog();
    QCOMPARE(device.controlIn(usb::VERSION_REQUEST, 0, 0, buffer, 32), 32);
    QCOMPARE(port.log(), QStringList({"open", "claim 0", "control", "control"}));
}

void TstLibusbBus::unplugInTheMiddleOfATransferThenReplug()
{
    Rig rig;
    MockUsbPort &port = rig.plug(1, 2, "1-1");
    UsbDevice &device = rig.link();
    QCOMPARE(device.open(), 0);
    SimController &controller = rig.controllers[0];
    controller.clearRequests();

    port.unplugDuringNextTransfer();
    unsigned char byte = 7;
    LogCapture log("lm740.usb");
    QCOMPARE(device.controlOut(usb::WRITE_BYTE_REQUEST, 0, 1, &byte, 1), -1);
    QCOMPARE(traced(log, "libusb_control_transfer", "LIBUSB_ERROR_NO_DEVICE"), 1);
    QCOMPARE(device.isOpen(), -1);
    QCOMPARE(port.openFiles(), 0);
    QVERIFY(controller.requests().isEmpty());
    rig.kernel.unplug(port);
    QCOMPARE(device.open(), -1);
    QCOMPARE(device.lastSearchResult(), UsbDevice::SearchResult::NotFound);

    // Plugged in again it gets a new address; the next transfer finds it on its own.
    MockUsbPort &again = rig.kernel.plug(controller, 1, 3, "1-1");
    QCOMPARE(device.controlOut(usb::WRITE_BYTE_REQUEST, 0, 1, &byte, 1), 1);
    QCOMPARE(controller.byteAt(1), byte);
    QCOMPARE(again.log(), QStringList({"open", "config 1", "claim 0", "control", "control"}));
}

void TstLibusbBus::twoControllersOnTwoPortsChosenByName()
{
    // Bus 1's ports 3 and 4, the one on port 4 plugged in first and at the lower address.
    Rig rig;
    MockUsbPort &four = rig.plug(1, 2, "1-4");
    MockUsbPort &three = rig.plug(1, 7, "1-3");
    rig.controllers[0].setRelease(0, 15);
    UsbDevice &device = rig.link();

    QStringList seen;
    for (const ControllerInfo &c : device.listControllers())
        seen << c.label();
    QCOMPARE(seen, QStringList({"1-4 (rel_0_15)", "1-3 (rel_0_16)"}));
    for (MockUsbPort *port : {&four, &three}) {
        QCOMPARE(port->openFiles(), 0);
        port->clearLog();
    }

    // Nobody chose: neither is reached.
    device.setChoiceRequired(true);
    unsigned char byte = 0x5A;
    QCOMPARE(device.controlOut(usb::WRITE_BYTE_REQUEST, 0, 20, &byte, 1), -1);
    QCOMPARE(device.lastSearchResult(), UsbDevice::SearchResult::Several);
    QCOMPARE(four.openFiles() + three.openFiles(), 0);

    device.setName(QStringLiteral("1-3"));
    QCOMPARE(device.controlOut(usb::WRITE_BYTE_REQUEST, 0, 20, &byte, 1), 1);
    QCOMPARE(rig.controllers[1].byteAt(20), quint8(0x5A));
    QCOMPARE(rig.controllers[0].byteAt(20), quint8(0));
    QCOMPARE(device.openPort(), QStringLiteral("1-3"));
    QCOMPARE(four.openFiles(), 0);

    // Port 3 empties: the link says so and does not move to port 4.
    rig.kernel.unplug(three);
    QCOMPARE(device.controlOut(usb::WRITE_BYTE_REQUEST, 0, 21, &byte, 1), -1);
    QCOMPARE(device.open(), -1);
    QCOMPARE(device.lastSearchResult(), UsbDevice::SearchResult::NotFound);
    QCOMPARE(rig.controllers[0].byteAt(21), quint8(0));
    QCOMPARE(four.openFiles(), 0);
}

QTEST_GUILESS_MAIN(TstLibusbBus)
#include "tst_libusb_bus.moc"
