// A look at the editor panel in the window: sets the lamp count and the mode, selects a few
// sliders and either saves a picture of the window or stays open for a screenshot.
//
// Run: scene_preview --lamps 170 --mode 1 [--select] [--width W] [--scroll N] [--out shot.png]
#include "color_slider.h"
#include "main_window.h"
#include "super_rgb.h"
#include "window_widgets.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScrollBar>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser cli;
    cli.addOption({"lamps", "Lamps in the strip (1..170).", "n", "30"});
    cli.addOption({"mode", "0 scenes, 1 chasers, 2 program steps.", "mode", "0"});
    cli.addOption({"select", "Select some sliders so that their overlays show."});
    cli.addOption({"scroll", "Scroll bar value.", "px", "0"});
    cli.addOption({"width", "Window width.", "px", "850"});
    cli.addOption({"out", "Save a picture of the window here and quit.", "file"});
    cli.process(app);

    MainWindow w;
    w.show();
    w.resize(cli.value("width").toInt(), 750);
    Scene &s = *w.scene();

    const int lamps = std::clamp(cli.value("lamps").toInt(), 1, 170);
    s.removeLamps(uint(s.lampCount()));
    s.addLamps(uint(lamps), nullptr);
    switch (cli.value("mode").toInt()) {
    case 1:
        s.setPatternLen(3);
        s.setRepeat(4);
        s.setChasersMode();
        s.setMode(Scene::Mode::Chaser);
        s.chaser_calculate(0);
        break;
    case 2:
        s.setProgramsMode();
        break;
    default:
        s.setScenesMode();
        break;
    }
    if (cli.isSet("select")) {
        s.lamp(0)->setAll(true);
        s.lamp(1)->selectRed(true);
        s.lamp(2)->selectGreen(true);
        s.lamp(3)->selectBlue(true);
    }
    s.scrollBar()->setValue(cli.value("scroll").toInt());

    if (cli.isSet("out")) {
        QTimer::singleShot(300, &app, [&] {
            w.grab().save(cli.value("out"));
            app.quit();
        });
    }
    return app.exec();
}
