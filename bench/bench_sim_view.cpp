// Processor time of the window with the view of the simulated controller (run it under Xvfb, so
// that it really paints), as ratios measured in one run: the window playing a chaser of 170 lamps
// at 100 % cross-fade on its preview strip while the simulated controller plays the same chaser in
// the view, against the same window without the view plus a bare Qt strip of 170 cells repainted
// every 30 ms; the same with the view hidden; and the view idle, with the paints it received.
#include "bench_common.h"
#include "main_window.h"
#include "paint_counter.h"
#include "recording_prompts.h"
#include "sim_rig.h"
#include "simulated_lm740_view.h"
#include "window_widgets.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

// Processor seconds per wall second over `seconds` of the event loop.
double runFor(int seconds, const char *what, PaintCounter *counter = nullptr)
{
    if (counter)
        counter->paints = 0;
    const double before = bench::cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double load = (bench::cpuSeconds() - before) / (double(wall.elapsed()) / 1000.0);
    std::printf("  %-52s %5.1f %% CPU", what, 100.0 * load);
    if (counter)
        std::printf(", %d paints of the view", counter->paints);
    std::printf("\n");
    return load;
}

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A window on the Chasers page with a chaser of 170 lamps at 100 % cross-fade, written to the
// controller and run there too.
std::unique_ptr<MainWindow> chaserWindow(SimRig &rig, bool view)
{
    auto w = std::make_unique<MainWindow>();
    if (view)
        w->showSimulatedController(rig.controller, {});
    w->resize(1000, 800);
    w->show();
    w->document().setGlobals(170, w->document().show().sceneTime);
    t_chaser &chaser = w->document().show().chasers[0];
    for (int i = 0; i < 170; ++i)
        chaser.colors[i] = QColor::fromHsv(i * 2, 255, 255);
    chaser.time = 300;
    chaser.xfade = 100;
    chaser.pattern_len = 170;
    w->UsbWriteChaser(&chaser, 0, 170);
    w->UsbSetLampsNumber(char(170));
    w->TabWidget->setCurrentIndex(1);
    w->UsbRunChaser(0);
    settle(500);
    return w;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    SimRig rig(SimRig::Start::Plugged);
    rig.makeDefaultBus();
    rig.quiet();
    RecordingPrompts prompts;
    PaintCounter counter;

    std::printf("Each figure over %d s of the event loop.\n", seconds);
    double without = 0;
    double bare = 0;
    double with = 0;
    double hidden = 0;
    {
        auto w = chaserWindow(rig, false);
        without = runFor(seconds, "window, chaser of 170 lamps, no view");
    }
    {
        bench::BareStrip strip;
        strip.resize(1000, 32);
        strip.show();
        settle(500);
        bare = runFor(seconds, "bare Qt strip of 170 cells, 30 ms");
    }
    {
        auto w = chaserWindow(rig, true);
        const QList<QWidget *> parts = w->widgets().simulatorView->findChildren<QWidget *>();
        for (QWidget *part : parts)
            part->installEventFilter(&counter);
        with = runFor(seconds, "window, chaser, the view playing it too", &counter);
        w->widgets().simulatorView->hide();
        settle(500);
        hidden = runFor(seconds, "window, chaser, the view hidden", &counter);

        // Idle: a scene that has faded in, on the Scenes page, the view showing.
        w->widgets().simulatorView->show();
        w->TabWidget->setCurrentIndex(0);
        w->UsbRunScene(0);
        settle(2500);
        runFor(seconds, "window idle, the view showing a scene at rest", &counter);
    }
    std::printf("with the view / (without + bare strip): %.2f (goal: at most 1)\n",
                with / (without + bare));
    std::printf("view hidden / without the view:         %.2f (goal: 1, within noise)\n",
                hidden / without);
    return 0;
}
