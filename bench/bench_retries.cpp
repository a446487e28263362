// Whole-memory copies over a poor link: a backup (read) and a restore (write) of the whole memory
// for each seed 1..100 of a simulated controller that fails one request in twenty, counted as
// complete and exact or not; then how long a pass takes to give up when the controller is gone,
// is absent from the start, or stops answering, in the simulated controller's time (the 1 s
// time-outs it waited out) and in wall-clock time.
//   bench_retries [probability, default 0.05] [seeds, default 100]
#include "memory_copy.h"
#include "sim_rig.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

using namespace lm740;

namespace {

QByteArray pattern(quint32 seed)
{
    QByteArray bytes(layout::kImageSize, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 31 + i / 256 + int(seed)) & 0xFF);
    return bytes;
}

QByteArray memoryOf(const SimController &controller)
{
    return QByteArray(reinterpret_cast<const char *>(controller.memory().data()),
                      layout::kImageSize);
}

// A pass that cannot complete: the simulated and the wall-clock time until it says so.
void giveUp(const char *what, const std::function<void(SimRig &)> &fault)
{
    SimRig rig;
    rig.quiet();
    fault(rig);
    QElapsedTimer wall;
    wall.start();
    QByteArray image;
    const MemoryCopyResult r = MemoryCopy::read(rig.link, &image);
    std::printf("%-46s failed at byte %6d after %5.2f s simulated, %6.1f ms wall-clock\n", what,
                r.bytes, double(rig.controller.elapsedMicroseconds()) / 1e6,
                double(wall.nsecsElapsed()) / 1e6);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const double probability = argc > 1 ? QByteArray(argv[1]).toDouble() : 0.05;
    const quint32 seeds = argc > 2 ? QByteArray(argv[2]).toUInt() : 100;

    int backups = 0;
    int restores = 0;
    qint64 retries = 0;
    QElapsedTimer wall;
    wall.start();
    for (quint32 seed = 1; seed <= seeds; ++seed) {
        SimRig rig;
        rig.quiet();
        const QByteArray before = pattern(seed);
        rig.controller.memory().assign(before.begin(), before.end());
        rig.controller.setFailureProbability(probability, seed);
        QByteArray image;
        const MemoryCopyResult read = MemoryCopy::read(rig.link, &image);
        backups += read.outcome == MemoryCopyResult::Outcome::Complete && read.mainLoopReleased &&
                   image == before;
        const QByteArray after = pattern(seed + 1000);
        const MemoryCopyResult write = MemoryCopy::write(rig.link, after);
        restores += write.outcome == MemoryCopyResult::Outcome::Complete &&
                    write.mainLoopReleased && memoryOf(rig.controller) == after;
        retries += read.retries + write.retries;
    }
    std::printf("fail=%.2f, seeds 1..%u: %d of %u backups and %d of %u restores complete and "
                "exact; %.1f requests sent again per pass; %.0f ms\n",
                probability, seeds, backups, seeds, restores, seeds,
                double(retries) / (2.0 * seeds), double(wall.nsecsElapsed()) / 1e6);

    giveUp("no controller", [](SimRig &rig) { rig.bus.unplug(rig.controller); });
    giveUp("unplugged at block 1000",
           [](SimRig &rig) { rig.controller.setUnplugSchedule(1000, 5); });
    giveUp("stops answering (every request times out)",
           [](SimRig &rig) { rig.controller.timeOutNext(1 << 30); });
    return backups == int(seeds) && restores == int(seeds) ? 0 : 1;
}
