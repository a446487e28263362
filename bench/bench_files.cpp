// Saving and loading the largest file of each format: 170 lamps, every record filled. For each,
// the file work alone (text or image built and written to disk; read, checked whole and stored
// into the show), then the same through the window's commands, and the panel's reload after a
// load on its own, until its last lamp out of view is loaded from the event loop. Medians in
// milliseconds over the rounds given (default 20).
#include "bench_common.h"
#include "main_window.h"
#include "recording_prompts.h"
#include "settings_image.h"
#include "sim_rig.h"
#include "window_widgets.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <cstdio>

using namespace lm740;

namespace {

void fill(Show &show)
{
    for (int lamp = 0; lamp < kMaxLamps; ++lamp) {
        for (auto &scene : show.sceneColors)
            scene[lamp] = QColor(lamp, 255 - lamp, (lamp * 7) % 256);
        for (auto &chaser : show.chasers)
            chaser.colors[lamp] = QColor(255 - lamp, lamp, 200);
        for (auto &program : show.programs)
            for (auto &step : program.scenes)
                step.colors[lamp] = QColor(lamp, 100, 255 - lamp);
    }
}

struct Format
{
    const char *name;
    int tab;
    void (MainWindow::*save)(bool);
    void (MainWindow::*load)(bool);
    const char *suffix;
    bool image;
    files::Format text;
};

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    QTemporaryDir dir;
    SimRig rig(SimRig::Start::Plugged);
    rig.quiet();
    rig.makeDefaultBus();
    RecordingPrompts prompts;
    MainWindow w;
    w.session().pollTimer()->stop();
    // The lamp controls are built once the window has been painted, as for the user.
    w.show();
    while (!w.windowHandle() || !w.windowHandle()->isExposed())
        QCoreApplication::processEvents();
    fill(w.document().show());
    w.document().setGlobals(kMaxLamps, w.document().show().sceneTime);
    // The panel loads the lamps out of view from the event loop; a reload ends when all are in.
    const auto settle = [&w] {
        while (w.scene()->lampsWaiting() > 0)
            QCoreApplication::processEvents();
    };
    settle();

    const Format formats[] = {
        {"scene .scn", 0, &MainWindow::Save_Scene, &MainWindow::Load_Scene, ".scn", false,
         files::Format::Scene},
        {"scenes .scs", 0, &MainWindow::Save_Scenes, &MainWindow::Load_Scenes, ".scs", false,
         files::Format::Scenes},
        {"chaser .chr", 1, &MainWindow::Save_Chaser, &MainWindow::Load_Chaser, ".chr", false,
         files::Format::Chaser},
        {"chasers .chs", 1, &MainWindow::Save_Chasers, &MainWindow::Load_Chasers, ".chs", false,
         files::Format::Chasers},
        {"program .pgm", 2, &MainWindow::Save_Program, &MainWindow::Load_Program, ".pgm", false,
         files::Format::Program},
        {"programs .pgs", 2, &MainWindow::Save_Programs, &MainWindow::Load_Programs, ".pgs", false,
         files::Format::Programs},
        {"settings .set", 2, &MainWindow::Save, &MainWindow::Load, ".set", true,
         files::Format::Scene},
    };

    std::printf("%-14s %9s %9s %9s %10s %10s %12s\n", "file", "bytes", "save", "load", "save cmd",
                "load cmd", "panel reload");
    for (const Format &f : formats) {
        w.TabWidget->setCurrentIndex(f.tab);
        const QString name = dir.filePath(QStringLiteral("largest") + f.suffix);
        std::vector<double> save, load, saveCmd, loadCmd, reload;
        for (int r = 0; r < rounds; ++r) {
            save.push_back(bench::timeMs([&] {
                const QByteArray bytes =
                    f.image ? image::packShow(w.document().show(), w.document().show().ledsNumber,
                                              1, image::HeaderStyle::Save)
                            : files::writeTextFile(f.text, w.document().show(),
                                                   w.document().show().ledsNumber);
                const bool ok = f.image ? image::writeSettingsFile(name, bytes)
                                        : files::writeWholeFile(name, bytes);
                Q_ASSERT(ok);
                Q_UNUSED(ok);
            }));
            load.push_back(bench::timeMs([&] {
                QByteArray bytes;
                if (f.image) {
                    image::readSettingsFile(name, &bytes);
                    image::unpackShow(bytes, w.document().show(), nullptr);
                } else {
                    files::TextFile file;
                    files::readWholeFile(name, &bytes);
                    files::readTextFile(f.text, bytes, &file);
                    files::storeInShow(file, w.document().show());
                }
            }));
            prompts.fileNames << name;
            saveCmd.push_back(bench::timeMs([&] { (w.*f.save)(false); }));
            prompts.fileNames << name;
            loadCmd.push_back(bench::timeMs([&] { (w.*f.load)(false); }));
            settle();
            reload.push_back(bench::timeMs([&] {
                w.document().setGlobals(w.document().show().ledsNumber,
                                        w.document().show().sceneTime);
                settle();
            }));
        }
        if (prompts.calls.size() != 2 * rounds)
            std::printf("unexpected messages: %s\n", qPrintable(prompts.texts().join(" | ")));
        prompts.calls.clear();
        std::printf("%-14s %9lld %9.2f %9.2f %10.2f %10.2f %12.2f\n", f.name,
                    QFileInfo(name).size(), bench::median(save), bench::median(load),
                    bench::median(saveCmd), bench::median(loadCmd), bench::median(reload));
    }
    return 0;
}
