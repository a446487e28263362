// How much the program itself spends per single-byte request: UsbDevice and the controller link
// over the simulated controller at zero latency, so that the figure is our code (plus the
// simulator's bookkeeping) and no USB at all. A real request costs at least one 1 ms USB frame;
// our share should stay under 1 % of that, 10 microseconds.
#include "controller_link.h"
#include "libusb_bus.h"
#include "sim_rig.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <functional>

using namespace lm740;

namespace {

struct Figure
{
    double perSecond;
    double microseconds;
};

Figure measure(int requests, const std::function<void(int)> &request)
{
    for (int i = 0; i < 1000; ++i) // warm up caches and the first search
        request(i);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < requests; ++i)
        request(i);
    const double ns = double(timer.nsecsElapsed());
    return {requests / (ns / 1e9), ns / 1e3 / requests};
}

void print(const char *what, const Figure &f)
{
    std::printf("%-44s %12.0f requests/s %8.3f us/request %s\n", what, f.perSecond, f.microseconds,
                f.microseconds < 10.0 ? "ok" : "OVER 10 us");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int requests = argc > 1 ? QByteArray(argv[1]).toInt() : 500000;

    SimRig rig(SimRig::Start::Plugged);
    rig.quiet();
    UsbDevice &device = rig.device;
    ControllerLink &link = rig.link;
    if (device.open() != 0) {
        std::fprintf(stderr, "the simulated controller was not found\n");
        return 1;
    }

    std::printf("%d single-byte requests each, simulated controller at zero latency\n", requests);
    unsigned char byte = 0;
    print("UsbDevice::controlIn (READ_MEMORY, 1 byte)", measure(requests, [&](int i) {
              device.controlIn(usb::READ_MEMORY_REQUEST, quint16((i >> 8) & 0x1FF),
                               quint16(i & 0xFF), &byte, 1);
          }));
    print("UsbDevice::controlOut (WRITE_BYTE, 1 byte)", measure(requests, [&](int i) {
              device.controlOut(usb::WRITE_BYTE_REQUEST, quint16((i >> 8) & 0x1FF),
                                quint16(i & 0xFF), &byte, 1);
          }));
    char value = 0;
    print("ControllerLink::getBytes (1 byte)",
          measure(requests, [&](int i) { link.getBytes(i & 0x1FFFF, &value, 1); }));
    print("ControllerLink::setByte",
          measure(requests, [&](int i) { link.setByte(i & 0x1FFFF, quint8(i)); }));

    // A whole record, to show what the per-transfer scratch image adds.
    t_chaser chaser;
    setDefaults(chaser);
    const int records = requests / 516 + 1;
    const Figure chaserWrite = measure(records, [&](int) { link.writeChaser(chaser, 0, 170); });
    std::printf("%-44s %12.0f records/s  %8.3f us/request (516 requests a record)\n",
                "ControllerLink::writeChaser (170 lamps)", chaserWrite.perSecond,
                chaserWrite.microseconds / 516);

    // The status poll searches the machine's buses every second; without the controller that
    // search must cost next to nothing.
    LibusbBus usbBus;
    UsbDevice realDevice(usbBus);
    realDevice.setIds(usb::kVendorId, usb::kProductId);
    const Figure search = measure(2000, [&](int) { realDevice.open(); });
    std::printf("%-44s %12.0f searches/s %8.3f us/search (no Lm740 on this machine)\n",
                "UsbDevice::open on libusb-1.0", search.perSecond, search.microseconds);
    return 0;
}
