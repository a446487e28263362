// The whole-memory copy and the firmware upgrade through the window's own slots, with their
// progress dialogs, against the simulated controller behind a bus that makes every control
// transfer take 1 ms of wall-clock time, about what a real one costs. A read or a write of the
// whole memory is 2049 requests, so it should take 2049 ms and not 2 % more: what goes beyond is
// the program's own share (progress dialog, event processing, the file). The upgrade of a
// 50000-byte file is timed the same way against the requests it made.
#include "main_window.h"
#include "memory_copy.h"
#include "recording_prompts.h"
#include "sim_rig.h"
#include "upgrade_file.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

using namespace lm740;

namespace {

// Every control transfer lasts `latency` from its start, the simulated controller's answer
// included, asleep as a program waiting for USB is.
class SlowBus : public UsbBus
{
public:
    SlowBus(UsbBus &inner, std::chrono::microseconds latency) : m_inner(inner), m_latency(latency)
    {
    }
    std::vector<UsbBusDevice> listDevices() override { return m_inner.listDevices(); }
    int open(const UsbBusDevice &d, UsbHandle *h) override { return m_inner.open(d, h); }
    void close(UsbHandle h) override { m_inner.close(h); }
    int setConfiguration(UsbHandle h, int c) override { return m_inner.setConfiguration(h, c); }
    int claimInterface(UsbHandle h, int i) override { return m_inner.claimInterface(h, i); }
    int releaseInterface(UsbHandle h, int i) override { return m_inner.releaseInterface(h, i); }
    int controlTransfer(UsbHandle h, quint8 type, quint8 request, quint16 value, quint16 index,
                        unsigned char *data, quint16 length, unsigned timeoutMs) override
    {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point end = Clock::now() + m_latency;
        const int r =
            m_inner.controlTransfer(h, type, request, value, index, data, length, timeoutMs);
        std::this_thread::sleep_until(end);
        ++transfers;
        return r;
    }
    int bulkTransfer(UsbHandle h, quint8 e, unsigned char *d, int n, unsigned t) override
    {
        return m_inner.bulkTransfer(h, e, d, n, t);
    }
    int transfers = 0;

private:
    UsbBus &m_inner;
    std::chrono::microseconds m_latency;
};

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The wall-clock time against the requests' own, and the processor time the program spent, which
// is its share whatever else the machine is doing.
void report(const char *what, double ms, double cpu, int transfers, int latencyUs)
{
    const double floor = transfers * latencyUs / 1000.0;
    std::printf("%-34s %7.1f ms  %5d requests (%6.1f ms)  own processor time %6.1f ms", what, ms,
                transfers, floor, cpu);
    if (floor > 0)
        std::printf(" = %.2f %%", 100.0 * cpu / floor);
    std::printf("\n");
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SimRig rig(SimRig::Start::Plugged);
    rig.quiet();
    // The latency in microseconds; 0 shows the program's own share alone.
    const int latency = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    SlowBus bus(rig.bus, std::chrono::microseconds(latency));
    setDefaultUsbBus(&bus);
    RecordingPrompts prompts;
    QTemporaryDir dir;
    {
        MainWindow window;
        window.show();
        // Only the pass's own requests: the one-second poll would add its searches.
        window.session().pollTimer()->stop();
        QCoreApplication::processEvents();
        const auto timed = [&](const char *what, const std::function<void()> &run) {
            bus.transfers = 0;
            QElapsedTimer t;
            t.start();
            const double cpu = cpuMs();
            run();
            report(what, double(t.nsecsElapsed()) / 1e6, cpuMs() - cpu, bus.transfers, latency);
        };

        // The floor on this machine: the same requests without the window, its dialog or a file.
        UsbDevice device(bus);
        device.setIds(usb::kVendorId, usb::kProductId);
        ControllerLink link(device);
        device.open();
        QByteArray image;
        timed("the pass alone (MemoryCopy::read)", [&] { MemoryCopy::read(link, &image); });
        device.close();

        const QString set = dir.filePath("bench.set");
        prompts.fileNames << set;
        timed("Read Settings (whole memory)", [&] { window.File_Read_Settings(false); });
        prompts.fileNames << set;
        prompts.answers << QMessageBox::Yes;
        timed("Write Settings (whole memory)", [&] { window.File_Write_Settings(false); });

        rig.controller.setUpgradeMode(true);
        const QByteArray file =
            upgrade::makeFile("fw_0_17", upgrade::makeImage("fw_0_17", 50000 - 17));
        QFile upg(dir.filePath("bench.upg"));
        upg.open(QIODevice::WriteOnly);
        upg.write(file);
        upg.close();
        prompts.fileNames << upg.fileName();
        timed("Upgrade Lm740 (50000-byte file)", [&] { window.UpgradeLm740(false); });
    }
    for (const PromptCall &c : prompts.calls)
        if (c.kind != "open" && c.kind != "save")
            std::printf("  %s: %s\n", qPrintable(c.title),
                        qPrintable(QString(c.text).simplified()));
    setDefaultUsbBus(nullptr);
    return 0;
}
