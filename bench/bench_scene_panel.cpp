// How fast the editor panel is with a full strip of 170 lamps, next to a plain Qt widget tree of
// the same size measured in the same run: building, adding lamps, loading colours in each mode,
// and one slider move in chaser mode with the preview recomputed. Prints medians in milliseconds.
//
// Run: QT_QPA_PLATFORM=offscreen ./bench_scene_panel [rounds]
#include "bench_common.h"
#include "color_arrays.h"
#include "color_slider.h"
#include "my_frame.h"
#include "scene.h"
#include "super_rgb.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using bench::BaselineTree;
using bench::median;
using bench::timeMs;

// Puts a widget on the (offscreen) screen and lets it polish, lay out and paint once.
void showAndSettle(QWidget *w)
{
    w->resize(1000, 640);
    w->show();
    QApplication::processEvents();
}

// Builds and lays out the panel's widgets the way the baseline is measured.
void layOutPanel(Scene &panel)
{
    panel.lampStrip()->layout()->activate();
    panel.contentWidget()->layout()->activate();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(3, atoi(argv[1])) : 15;

    std::vector<double> baseBuild, baseValues, panelBuild, panelShow, panelAdd, oneMove;
    std::array<std::vector<double>, 3> setColors;
    std::vector<double> deferred;

    for (int r = 0; r < rounds; ++r) {
        // Baseline tree.
        {
            std::unique_ptr<BaselineTree> tree;
            baseBuild.push_back(timeMs([&] {
                tree = std::make_unique<BaselineTree>();
                tree->top->layout()->activate();
            }));
            showAndSettle(tree->top.get());
            baseValues.push_back(timeMs([&] {
                int v = r;
                for (QSlider *s : tree->sliders)
                    s->setValue((v += 37) % 256);
            }));
        }

        // The panel built with 170 lamps.
        {
            std::unique_ptr<Scene> panel;
            auto c0 = testcolors::numberedColors(r);
            panelBuild.push_back(timeMs([&] {
                panel = std::make_unique<Scene>(nullptr, 170, c0.data());
                layOutPanel(*panel);
            }));
            panelShow.push_back(timeMs([&] { showAndSettle(panel->contentWidget()); }));

            for (int mode = 0; mode < 3; ++mode) {
                if (mode == 0)
                    panel->setScenesMode();
                else if (mode == 1)
                    panel->setChasersMode();
                else
                    panel->setProgramsMode();
                QApplication::processEvents();
                auto c = testcolors::numberedColors(r * 3 + mode + 1);
                setColors[mode].push_back(timeMs([&] { panel->setColors(c.data(), 170); }));
                // The lamps out of view load from the event loop, a few per turn.
                double later = 0;
                while (panel->lampsWaiting() > 0)
                    later += timeMs([] { QApplication::processEvents(); });
                deferred.push_back(later);
            }

            // One slider move in chaser mode, pattern 10 repeated 17 times.
            panel->setChasersMode();
            panel->setMode(Scene::Mode::Chaser);
            panel->setPatternLen(10);
            panel->setRepeat(17);
            QApplication::processEvents();
            auto *slider = panel->lamp(3)->findChild<ColorSlider *>("SliderRed");
            std::vector<double> moves;
            for (int k = 0; k < 50; ++k)
                moves.push_back(timeMs([&] { slider->setValue((slider->value() + 1) % 256); }));
            oneMove.push_back(median(moves));
        }

        // addLamps from 0 to 170 on a panel already on screen.
        {
            Scene panel(nullptr, 0, nullptr);
            auto c = testcolors::numberedColors(r);
            panelAdd.push_back(timeMs([&] {
                panel.addLamps(170, c.data());
                layOutPanel(panel);
            }));
        }
    }

    const double bb = median(baseBuild), bv = median(baseValues);
    std::printf("rounds: %d (medians, ms)\n", rounds);
    std::printf("baseline tree build + layout          %8.2f\n", bb);
    std::printf("baseline 510 slider values            %8.2f\n", bv);
    std::printf("panel build, 170 lamps                %8.2f  (%.2fx baseline, goal <= 2x)\n",
                median(panelBuild), median(panelBuild) / bb);
    std::printf("panel on screen: show, polish, paint  %8.2f\n", median(panelShow));
    std::printf("addLamps 0 -> 170                     %8.2f  (%.2fx baseline, goal <= 2x)\n",
                median(panelAdd), median(panelAdd) / bb);
    const char *modes[] = {"scenes", "chasers", "programs"};
    for (int m = 0; m < 3; ++m)
        std::printf("setColors 170, %-8s mode           %8.2f  (%.2fx baseline values, goal <= 3x "
                    "and < 16 ms)\n",
                    modes[m], median(setColors[m]), median(setColors[m]) / bv);
    std::printf("  then off-screen lamps (and in chaser mode the preview row), event loop %8.2f"
                "  (in turns of 16 lamps)\n",
                median(deferred));
    std::printf("one slider move, chaser mode P10 R17  %8.3f  (goal < 2 ms)\n", median(oneMove));
    return 0;
}
