// Processor time of the whole window over 20 s of its event loop (run it under Xvfb, so that it
// really paints): idle on the Scenes tab after the fade, then a chaser simulation of 170 lamps
// with 100 % cross-fade, against a bare Qt strip of 170 cells repainted every 30 ms measured in
// the same run. Also counts the strip's paint events.
#include "bench_common.h"
#include "main_window.h"
#include "my_dock_widget.h"
#include "paint_counter.h"
#include "recording_prompts.h"
#include "sim_rig.h"
#include "window_widgets.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPainter>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

void runFor(int seconds, const char *what, PaintCounter &counter)
{
    counter.paints = 0;
    const double before = bench::cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double used = bench::cpuSeconds() - before;
    const double took = double(wall.elapsed()) / 1000.0;
    std::printf("  %-34s %6.2f s CPU in %4.1f s (%5.1f %%), %5d paints of the strip\n", what, used,
                took, 100.0 * used / took, counter.paints);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    SimRig rig(SimRig::Start::Plugged);
    rig.makeDefaultBus();
    rig.quiet();
    RecordingPrompts prompts;
    PaintCounter counter;
    {
        MainWindow w;
        w.show();
        w.widgets().dockWidget->installEventFilter(&counter);
        w.document().setGlobals(170, w.document().show().sceneTime);
        // Scenes tab: let the fade end before counting.
        QEventLoop settle;
        QTimer::singleShot(1500, &settle, &QEventLoop::quit);
        settle.exec();
        runFor(seconds, "window idle on Scenes", counter);

        for (int i = 0; i < 170; ++i)
            w.document().show().chasers[0].colors[i] = QColor::fromHsv(i * 2, 255, 255);
        w.document().show().chasers[0].time = 300;
        w.document().show().chasers[0].xfade = 100;
        w.TabWidget->setCurrentIndex(1);
        runFor(seconds, "window, chaser of 170 lamps", counter);
    }
    {
        bench::BareStrip bare;
        bare.resize(1000, 24);
        bare.show();
        bare.installEventFilter(&counter);
        runFor(seconds, "bare Qt strip of 170 cells, 30 ms", counter);
    }
    return 0;
}
