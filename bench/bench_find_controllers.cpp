// What finding the controllers costs with one, two and three of them connected: the listing that
// lm740ctl list and the window's Controller submenu make (search, open, identify, version, close
// each), and the search of a command that must make sure there is only one. On the simulated bus
// (our own cost), and, under umockdev-wrapper, on libusb against a mocked kernel.
#include "sim_bus.h"
#include "usb_device.h"

#ifdef LM740_BENCH_LIBUSB
#include "libusb_bus.h"
#include "mock_usb_kernel.h"
#endif

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <vector>

using namespace lm740;

namespace {

// Median microseconds of one call over `rounds` rounds.
double medianUs(int rounds, const std::function<bool()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        if (!work())
            return -1;
        times.push_back(double(t.nsecsElapsed()) / 1e3);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void report(const char *bus, const double list[3], const double search[3])
{
    for (int n = 1; n <= 3; ++n)
        std::printf("%-8s %d controller%s: listing %8.1f us, search for one %8.1f us\n", bus, n,
                    n == 1 ? " " : "s", list[n - 1], search[n - 1]);
    std::printf("%-8s three / one: listing %.2f, search %.2f (at most 3 wanted)\n", bus,
                list[2] / list[0], search[2] / search[0]);
}

// One measure of both with `n` controllers on `bus`.
void measure(UsbBus &bus, int n, int rounds, double *list, double *search)
{
    UsbDevice device(bus);
    device.setIds(0x16C0, 0x0781);
    device.setChoiceRequired(true);
    *list = medianUs(rounds, [&] { return int(device.listControllers().size()) == n; });
    // With several and no name the search finds them all and opens none: a command's refusal.
    *search = medianUs(rounds, [&] {
        const int r = device.open();
        return n == 1 ? r == 0 : device.lastSearchResult() == UsbDevice::SearchResult::Several;
    });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;

    double list[3];
    double search[3];
    for (int n = 1; n <= 3; ++n) {
        SimBus bus;
        bus.recordOperations = false;
        std::deque<SimController> controllers(static_cast<std::size_t>(n));
        for (SimController &c : controllers) {
            c.setLogging(false);
            bus.plug(c);
        }
        measure(bus, n, rounds, &list[n - 1], &search[n - 1]);
    }
    report("sim", list, search);

#ifdef LM740_BENCH_LIBUSB
    if (!MockUsbKernel::isMocked()) {
        std::printf("libusb: run under umockdev-wrapper to measure it\n");
        return 0;
    }
    for (int n = 1; n <= 3; ++n) {
        std::deque<SimController> controllers(static_cast<std::size_t>(n));
        MockUsbKernel kernel;
        int port = 1;
        for (SimController &c : controllers) {
            c.setLogging(false);
            kernel.plug(c, 1, port + 1, QStringLiteral("1-%1").arg(port), true);
            ++port;
        }
        LibusbBus bus;
        measure(bus, n, std::max(1, rounds / 20), &list[n - 1], &search[n - 1]);
    }
    report("libusb", list, search);
#endif
    return 0;
}
