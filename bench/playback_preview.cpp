// A look at the preview strip and online mode: the window on a simulated controller, put into one
// of four states, then either a picture of the window after a while or a window left open.
//
// Run: playback_preview --state fade|chaser|program|online [--after MS] [--out shot.png]
#include "main_window.h"
#include "my_spin.h"
#include "recording_prompts.h"
#include "settings_layout.h"
#include "sim_rig.h"
#include "window_widgets.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCommandLineParser>
#include <QPushButton>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser cli;
    cli.addOption({"state", "fade, chaser, program or online.", "state", "fade"});
    cli.addOption({"after", "Milliseconds of playing before the picture.", "ms", "400"});
    cli.addOption({"out", "Save a picture of the window here and quit.", "file"});
    cli.process(app);

    SimRig rig(SimRig::Start::Plugged);
    rig.makeDefaultBus();
    rig.quiet();
    RecordingPrompts prompts; // answers the online question with Yes
    prompts.answers << QMessageBox::Yes;
    MainWindow w;
    w.show();
    w.resize(900, 750);
    const QString state = cli.value("state");
    for (int i = 0; i < lm740::kMaxLamps; ++i) {
        w.document().show().sceneColors[1][i] = QColor::fromHsv(i * 12 % 360, 255, 255);
        w.document().show().chasers[0].colors[i] =
            i % 10 < 3 ? QColor(255, 40, 0) : QColor(0, 0, 60);
        for (int s = 0; s < 4; ++s)
            w.document().show().programs[0].scenes[s].colors[i] =
                QColor::fromHsv(s * 90, 255, 80 + 40 * s);
    }
    w.document().show().programs[0].scenes[0].scene_time = 500;
    lm740::markLastStep(w.document().show().programs[0], 3, true);
    if (state == "fade") {
        w.widgets().ScenesTimeSpin->setValue(3);
        w.widgets().sceneButtons->button(1)->click();
    } else if (state == "chaser") {
        w.document().show().chasers[0].time = 200;
        w.document().show().chasers[0].xfade = 50;
        w.TabWidget->setCurrentIndex(1);
    } else if (state == "program") {
        w.TabWidget->setCurrentIndex(2);
        w.actionRun_Program->trigger();
    } else if (state == "online") {
        lm740::layout::packScene(rig.controller.memory(), 0, w.document().show().sceneColors[1],
                                 lm740::kMaxLamps);
        w.actionOnline->trigger();
    }
    if (cli.isSet("out")) {
        QTimer::singleShot(cli.value("after").toInt(), &app, [&] {
            w.grab().save(cli.value("out"));
            app.quit();
        });
    }
    return app.exec();
}
