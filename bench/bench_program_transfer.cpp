// A whole program of 170 lamps written and read through the window's slots, against the simulated
// controller at 1 ms per request: 15934 requests each way, so the goal is 15934 ms, and what the
// program adds on top is its own cost. Printed twice: with the latency counted (the simulator
// adds it to its clock, so the figure is the program's time plus exactly 1 ms per request), and
// with the latency waited out for real (the sleeps' own lateness included).
#include "main_window.h"
#include "recording_prompts.h"
#include "sim_rig.h"
#include "window_widgets.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

namespace {

struct Run
{
    double wallMs = 0;
    double simulatedMs = 0;
    int requests = 0;
};

Run measure(SimRig &rig, MainWindow &w, bool write)
{
    rig.controller.clearRequests();
    const int before = rig.controller.transferCount();
    const qint64 simBefore = rig.controller.elapsedMicroseconds();
    QElapsedTimer t;
    t.start();
    const int r =
        write
            ? w.UsbWriteProgram(&w.document().show().programs[1], 1, w.document().show().ledsNumber)
            : w.UsbReadProgram(&w.document().show().programs[1], 1, w.document().show().ledsNumber);
    Run run;
    run.wallMs = double(t.nsecsElapsed()) / 1e6;
    run.simulatedMs = double(rig.controller.elapsedMicroseconds() - simBefore) / 1e3;
    run.requests = rig.controller.transferCount() - before;
    if (r != 0)
        std::printf("  the transfer failed\n");
    return run;
}

void report(const char *what, const Run &run, bool realLatency)
{
    const double goal = run.requests * 1.0;
    const double total = realLatency ? run.wallMs : run.wallMs + run.simulatedMs;
    std::printf("  %-6s %5d requests  %9.1f ms  (goal %5.0f ms: %+.2f %%)%s\n", what, run.requests,
                total, goal, 100.0 * (total - goal) / goal,
                realLatency ? "" : "  [program's own time + 1 ms per request]");
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SimRig rig(SimRig::Start::Plugged);
    rig.makeDefaultBus();
    rig.quiet();
    RecordingPrompts prompts;
    MainWindow w;
    w.session().pollTimer()->stop();
    w.document().setGlobals(170, w.document().show().sceneTime);
    w.USBCheckStatus();
    rig.controller.setLatencyMicroseconds(1000);
    for (bool real : {false, true}) {
        rig.controller.setRealLatency(real);
        std::printf(real ? "Latency waited out (1 ms sleeps):\n"
                         : "Latency counted by the simulator's clock:\n");
        report("write", measure(rig, w, true), real);
        report("read", measure(rig, w, false), real);
    }
    return prompts.calls.isEmpty() ? 0 : 1;
}
