// The show document's costs on a 170-lamp show: undo and redo of a paste over 170 lamps and of a
// whole-show load, through the window (the panel reloads too); the memory an undo history of 1000
// edits takes; a drag over 170 selected sliders with the edits flowing into the document, beside
// the same drag on the panel alone and the lamp-controls benchmark's channel writes in the same
// run; and how long the background save holds the window. Medians (and worst cases) in
// milliseconds.
//
// Run: QT_QPA_PLATFORM=offscreen ./bench_show_document [rounds]
#include "bench_common.h"
#include "main_window.h"
#include "recording_prompts.h"
#include "recovery_file.h"
#include "sim_rig.h"
#include "super_rgb.h"
#include "window_widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QFile>
#include <QKeyEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>

#include <cstdio>

using namespace lm740;

namespace {

using bench::median;
using bench::timeMs;

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

void key(MainWindow &w, int k)
{
    QKeyEvent press(QEvent::KeyPress, k, Qt::ControlModifier);
    QApplication::sendEvent(&w, &press);
}

void fill(Show &show, int shade)
{
    forEachItem([&](Item item) {
        ColorArray &colors = colorsOf(show, item);
        for (int lamp = 0; lamp < kMaxLamps; ++lamp)
            colors[size_t(lamp)] = QColor((lamp + shade) % 256, shade % 256, 255 - lamp);
    });
}

// Where the mouse grabs the slider's handle. A press beside the handle would not start a drag:
// it starts the slider's page-step repeat, which moves the slider from a timer every 50 ms once
// the press is half a second old, and with the slider held down every selected slider follows
// those steps too, on top of the moves being measured.
QPointF handleCentre(const QSlider *slider)
{
    QStyleOptionSlider opt;
    opt.initFrom(slider);
    opt.orientation = slider->orientation();
    opt.minimum = slider->minimum();
    opt.maximum = slider->maximum();
    opt.sliderPosition = slider->sliderPosition();
    opt.sliderValue = slider->value();
    opt.upsideDown = slider->orientation() == Qt::Vertical ? !slider->invertedAppearance()
                                                           : slider->invertedAppearance();
    return slider->style()
        ->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, slider)
        .center();
}

double worst(const std::vector<double> &v)
{
    return *std::max_element(v.begin(), v.end());
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    SimRig sim{SimRig::Start::Plugged};
    sim.makeDefaultBus();
    RecordingPrompts prompts;
    MainWindow w;
    w.document().setGlobals(kMaxLamps, w.document().show().sceneTime);
    w.document().reset();

    // Undo and redo of a paste over 170 lamps.
    for (int lamp = 0; lamp < kMaxLamps; ++lamp)
        w.scene()->lamp(lamp)->setRGB(uint(lamp), 40, 80);
    w.document().closeEdit();
    key(w, Qt::Key_A);
    key(w, Qt::Key_C);
    w.widgets().sceneButtons->button(1)->click();
    key(w, Qt::Key_V);
    w.document().closeEdit();
    std::vector<double> undoPaste, redoPaste;
    for (int r = 0; r < rounds; ++r) {
        undoPaste.push_back(timeMs([&] { w.commands().undo(); }));
        redoPaste.push_back(timeMs([&] { w.commands().redo(); }));
    }
    std::printf("undo of a paste over 170 lamps:  median %.3f ms, worst %.3f ms (%s)\n",
                median(undoPaste), worst(undoPaste), qPrintable(w.widgets().actionUndo->text()));
    std::printf("redo of a paste over 170 lamps:  median %.3f ms, worst %.3f ms\n",
                median(redoPaste), worst(redoPaste));

    // Undo and redo of a whole-show load.
    w.document().change(QStringLiteral("Load"), w.document().current(),
                        [](Show &show) { fill(show, 99); });
    std::vector<double> undoLoad, redoLoad;
    for (int r = 0; r < rounds; ++r) {
        undoLoad.push_back(timeMs([&] { w.commands().undo(); }));
        redoLoad.push_back(timeMs([&] { w.commands().redo(); }));
    }
    std::printf("undo of a whole-show load:       median %.3f ms, worst %.3f ms\n",
                median(undoLoad), worst(undoLoad));
    std::printf("redo of a whole-show load:       median %.3f ms, worst %.3f ms\n",
                median(redoLoad), worst(redoLoad));

    // A history of 1000 edits of one lamp each.
    w.document().reset();
    const double before = residentMiB();
    for (int i = 0; i < 1000; ++i) {
        w.document().newGesture();
        w.document().editLamp(Item::scene(i % kSceneCount), i % kMaxLamps, QColor(i % 256, 1, 2));
        w.document().closeEdit();
    }
    const double after = residentMiB();
    std::printf("1000 edits in the history:       %d steps, %.2f MiB more resident memory\n",
                w.document().undoStack().count(), after - before);

    // A drag over 170 selected sliders, as the mouse makes it: one slider held down and moved
    // through 256 positions, every selected slider following, the event loop turning between
    // moves (so the document's edit closes and merges into the one step of the drag). Beside it,
    // in the same run: the same drag with the document not listening (the panel alone), and the
    // lamp-controls benchmark's work, 510 channel writes over the strip's 170 lamps.
    if ((w.scene()->getSelectionFlags() & 0x07) != 0x07)
        key(w, Qt::Key_A);
    QSlider *slider = w.scene()->lamp(0)->SliderRed;
    int dragSteps = 0;
    const auto drag = [&] {
        const int steps = w.document().undoStack().count();
        const QPointF handle = handleCentre(slider);
        QMouseEvent press(QEvent::MouseButtonPress, handle, slider->mapToGlobal(handle),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(slider, &press);
        if (!slider->isSliderDown())
            std::printf("the press missed the slider's handle\n");
        slider->setSliderDown(true);
        // Down when the show holds the top already: a drag that ends on the value the show held
        // before it changed nothing and leaves no step.
        const bool down = colorsOf(w.document().show(), w.document().current())[0].red() == 255;
        const double ms = timeMs([&] {
            for (int v = 0; v < 256; ++v) {
                slider->setSliderPosition(down ? 255 - v : v);
                QCoreApplication::processEvents();
            }
        });
        slider->setSliderDown(false);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(), QPointF(), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(slider, &release);
        w.document().closeEdit();
        dragSteps = w.document().undoStack().count() - steps;
        return ms / 256;
    };
    const auto channelWrites = [&](int r) {
        return timeMs([&] {
            for (int i = 0; i < kMaxLamps; ++i) {
                SuperRGB *lamp = w.scene()->lamp(i);
                lamp->setRedColor((i * 7 + r * 13) % 256);
                lamp->setGreenColor((i * 11 + r * 17) % 256);
                lamp->setBlueColor((i * 3 + r * 29) % 256);
            }
        });
    };
    // The document's own share of a move: the 170 edits reaching it, the preview told, the
    // edit closed and merged into the drag's step.
    const auto ownShare = [&] {
        return timeMs([&] {
                   for (int v = 0; v < 256; ++v) {
                       for (int lamp = 0; lamp < kMaxLamps; ++lamp)
                           w.document().editLamp(w.document().current(), lamp, QColor(v, v, v));
                       QCoreApplication::processEvents();
                   }
               }) /
               256;
    };
    const auto listen = [&](bool on) {
        if (on)
            QObject::connect(w.scene(), &Scene::lampEdited, &w, [&w](int lamp, QColor color) {
                w.document().editLamp(w.document().current(), lamp, color);
            });
        else
            QObject::disconnect(w.scene(), &Scene::lampEdited, &w, nullptr);
    };
    std::vector<double> withDocument, panelAlone, lampControls, own;
    int documentSteps = 0;
    drag(); // the first drag of a run pays for what is built lazily
    for (int r = 0; r < std::max(4, rounds / 3); ++r) {
        // Each order in turn: the drag that comes first after the channel writes is slower.
        for (const bool withIt : {r % 2 == 0, r % 2 != 0}) {
            listen(withIt);
            (withIt ? withDocument : panelAlone).push_back(drag());
            if (withIt)
                documentSteps = dragSteps;
            listen(!withIt);
        }
        listen(false);
        lampControls.push_back(channelWrites(r));
        listen(true);
        own.push_back(ownShare());
        w.document().closeEdit();
    }
    std::printf("drag over 170 selected sliders, per mouse move (medians): %.2f ms with the "
                "document (%d undo step per drag), %.2f ms the panel alone, %.2f ms for the "
                "lamp-controls benchmark's 510 channel writes; the document's own share %.3f ms\n",
                median(withDocument), documentSteps, median(panelAlone), median(lampControls),
                median(own));
    std::printf("  ratio with the document / panel alone %.3f, / lamp-controls benchmark %.3f\n",
                median(withDocument) / median(panelAlone),
                median(withDocument) / median(lampControls));

    // The background save: what the window waits for (the copy of the show and the start).
    QTemporaryDir dir;
    w.recovery().start(dir.path());
    fill(w.document().show(), 7);
    w.document().change(QStringLiteral("x"), w.document().current(),
                        [](Show &show) { show.sceneTime = 9; });
    // A change before each round: a copy of unchanged records is not written at all.
    std::vector<double> hold;
    std::vector<double> unchanged;
    for (int r = 0; r < rounds; ++r) {
        w.document().change(QStringLiteral("x"), w.document().current(),
                            [r](Show &show) { show.sceneColors[0][0] = QColor(r % 256, 1, 2); });
        w.recovery().file()->waitForSave();
        hold.push_back(timeMs([&] { w.recovery().autosave(); }));
        w.recovery().file()->waitForSave();
        unchanged.push_back(timeMs([&] { w.recovery().autosave(); }));
    }
    w.recovery().file()->waitForSave();
    const double whole = timeMs([&] { w.recovery().saveNow(); });
    std::printf("background save holds the window: median %.3f ms, worst %.3f ms "
                "(the whole save takes %.1f ms); over unchanged records median %.3f ms, "
                "worst %.3f ms\n",
                median(hold), worst(hold), whole, median(unchanged), worst(unchanged));
    w.recovery().file()->remove();
    w.recovery().close(); // before its folder goes
    return 0;
}
