// A window on a simulated controller for the tests of switching, transfers and online mode, and a
// short form of the controller's request log: runs of consecutive memory writes and reads as
// "W 5000-5059" and "R 6400-645d", identification as "id", run commands as "scene 3", ....
#pragma once

#include "main_window.h"
#include "recording_prompts.h"
#include "settings_layout.h"
#include "sim_rig.h"
#include "text_files.h"
#include "window_widgets.h"

#include <QStringList>

#include <memory>
#include <vector>

struct WindowRig
{
    SimRig sim{SimRig::Start::Plugged};
    lm740::SimController &controller = sim.controller;
    lm740::SimBus &bus = sim.bus;
    RecordingPrompts prompts;
    std::unique_ptr<MainWindow> window;

    WindowRig()
    {
        sim.makeDefaultBus();
        window = std::make_unique<MainWindow>();
        controller.clearRequests();
    }
    ~WindowRig() { window.reset(); }

    // Online mode through its menu command, answering its question with Yes; the log is cleared.
    void goOnline()
    {
        prompts.answers << QMessageBox::Yes;
        window->actionOnline->trigger();
        controller.clearRequests();
        prompts.calls.clear();
    }

    // Runs of addresses written ('W') or read ('R') one after the other, each as "K first-last".
    struct RunState
    {
        char kind = 0;
        int first = 0;
        int last = 0;
    };
    static void addRun(QStringList &out, char kind, int address, RunState &run)
    {
        if (run.kind == kind && address == run.last + 1) {
            run.last = address;
            out.last() = QStringLiteral("%1 %2-%3")
                             .arg(QChar(kind))
                             .arg(run.first, 0, 16)
                             .arg(run.last, 0, 16);
            return;
        }
        run = {kind, address, address};
        out << QStringLiteral("%1 %2").arg(QChar(kind)).arg(address, 0, 16);
    }

    static QStringList runs(char kind, const std::vector<int> &addresses)
    {
        QStringList out;
        RunState run;
        for (int a : addresses)
            addRun(out, kind, a, run);
        return out;
    }

    QStringList log() const
    {
        QStringList out;
        RunState run;
        for (const lm740::SimController::Request &r : controller.requests()) {
            const int address = r.value * lm740::layout::kPageSize + r.index;
            switch (r.request) {
            case lm740::usb::WRITE_BYTE_REQUEST:
                addRun(out, 'W', address, run);
                continue;
            case lm740::usb::READ_MEMORY_REQUEST:
                addRun(out, 'R', address, run);
                continue;
            case lm740::usb::LM_ID_REQUEST:
                out << QStringLiteral("id");
                break;
            case lm740::usb::RUN_SCENE_REQUEST:
                out << QStringLiteral("scene %1").arg(r.value);
                break;
            case lm740::usb::RUN_CHASER_REQUEST:
                out << QStringLiteral("chaser %1").arg(r.value);
                break;
            case lm740::usb::RUN_PROGRAM_REQUEST:
                out << QStringLiteral("program %1").arg(r.value);
                break;
            case lm740::usb::BLACKOUT_REQUEST:
                out << QStringLiteral("blackout");
                break;
            default:
                out << QStringLiteral("request %1").arg(r.request);
                break;
            }
            run.kind = 0;
        }
        return out;
    }
};
