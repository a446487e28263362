// The Pattern dialog's live preview as a user sees it (run it under Xvfb, so that it really
// paints): a rainbow of 31 steps into a program of 170 lamps on a 10 x 17 serpentine grid, played
// for N seconds (the argument, 20 by default) in two ways that change the picture at every tick:
// steps of 0.5 s with a full cross-fade, and steps of no time (a new step each tick). Prints the
// preview's frames a second (the paint events it received) and the processor time of the whole
// program as a share of one core. Goal: at least 30 frames a second within 20 % of one core; the
// program exits 1 when a case misses it.
#include "bench_common.h"
#include "layout.h"
#include "layout_view.h"
#include "paint_counter.h"
#include "pattern_dialog.h"
#include "show_document.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QSpinBox>
#include <QTimer>

#include <cstdio>

namespace {

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    lm740::ShowDocument document;
    document.setGlobals(170, document.show().sceneTime);
    PatternDialog dialog(document, *lm740::Layout::fromShape("grid:10x17:serpentine", 170), {});
    if (!dialog.chooseScript("Rainbow"))
        return 2;
    qobject_cast<QSpinBox *>(dialog.propertyField("steps"))->setValue(31);
    dialog.targetKind->setCurrentIndex(PatternDialog::Program);
    PaintCounter counter;
    dialog.preview->installEventFilter(&counter);
    dialog.show();
    std::printf("%s\n", qPrintable(dialog.note->text()));

    const struct
    {
        const char *name;
        double stepTime;
        int xfade;
    } cases[] = {{"0.5 s steps, full cross-fade", 0.5, 100}, {"steps of no time", 0, 0}};
    bool within = true;
    for (const auto &c : cases) {
        dialog.stepTimeSpin->setValue(c.stepTime);
        dialog.xfadeSpin->setValue(c.xfade);
        wait(1000);
        counter.paints = 0;
        const double before = bench::cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        wait(seconds * 1000);
        const double cpu = bench::cpuSeconds() - before;
        const double took = double(wall.elapsed()) / 1000.0;
        const double fps = counter.paints / took;
        const double share = 100.0 * cpu / took;
        within = within && fps >= 30 && share <= 20;
        std::printf("  %-30s %5.1f frames/s, %5.2f s CPU in %4.1f s (%5.1f %% of one core)\n",
                    c.name, fps, cpu, took, share);
    }
    std::printf("%s\n", within ? "within 30 frames/s and 20 %" : "MISSED 30 frames/s or 20 %");
    return within ? 0 : 1;
}
