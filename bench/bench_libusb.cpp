// Requests per second through UsbDevice on libusb-1.0 and its Linux backend, against a simulated
// controller in a kernel mocked by umockdev: our cost plus libusb's, plus the mocked kernel's own
// round trip for every ioctl. Run under umockdev-wrapper.
#include "libusb_bus.h"
#include "mock_usb_kernel.h"
#include "usb_device.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <ctime>
#include <functional>

using namespace lm740;

namespace {
void measure(const char *what, int requests, const std::function<bool(int)> &request)
{
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpuStart = std::clock(); // every thread of the process: umockdev's too
    for (int i = 0; i < requests; ++i) {
        if (!request(i)) {
            std::printf("%s: request %d failed\n", what, i);
            return;
        }
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const double cpu = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    std::printf("%-28s %8.0f requests/s  %7.1f us each, %7.1f us of processor time\n", what,
                requests / seconds, 1e6 * seconds / requests, 1e6 * cpu / requests);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int requests = argc > 1 ? std::max(1, atoi(argv[1])) : 20000;
    if (!MockUsbKernel::isMocked()) {
        std::fprintf(stderr, "run under umockdev-wrapper: umockdev-wrapper %s [requests]\n",
                     argv[0]);
        return 2;
    }
    SimController controller;
    controller.setLogging(false);
    MockUsbKernel kernel;
    kernel.plug(controller, 1, 2, "1-1", true);
    LibusbBus bus;
    UsbDevice device(bus);
    device.setIds(usb::kVendorId, usb::kProductId);
    if (device.open() != 0) {
        std::fprintf(stderr, "the simulated controller was not found\n");
        return 1;
    }

    unsigned char block[usb::kMaxControlPayload] = {};
    measure("single-byte write", requests, [&](int i) {
        const unsigned char byte = quint8(i);
        return device.controlOut(usb::WRITE_BYTE_REQUEST, quint16(i % 512), quint16(i % 256), &byte,
                                 1) == 1;
    });
    measure("single-byte read", requests, [&](int i) {
        return device.controlIn(usb::READ_MEMORY_REQUEST, quint16(i % 512), quint16(i % 256), block,
                                1) == 1;
    });
    measure("64-byte block read", requests, [&](int i) {
        return device.controlIn(usb::READ_MEMORY_REQUEST, quint16(i % 512), quint16(i % 4 * 64),
                                block, 64) == 64;
    });
    measure("open (search and identify)", std::max(1, requests / 20),
            [&](int) { return device.open() == 0; });
    return 0;
}
