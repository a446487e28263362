#include "item_kinds.h"

#include "chaser_pattern.h"
#include "scene.h"
#include "ui_main_window.h"

#include <QCoreApplication>

#include <algorithm>

namespace lm740 {

namespace {

QString app(const char *text)
{
    return QCoreApplication::translate("App", text);
}

const t_chaser &chaserOf(const Show &show, Item item)
{
    return show.chasers[size_t(item.number)];
}

const t_program_scene &stepOf(const Show &show, Item item)
{
    return show.programs[size_t(item.number)].scenes[size_t(item.step)];
}

const QColor *recordColors(const Show &show, Item item, ColorArray &)
{
    return colorsOf(show, item).data();
}

const std::array<ItemKindRow, 3> kRows{{
    {
        .kind = ItemKind::Scene,
        .name =
            [](Item item) {
                return app(QT_TRANSLATE_NOOP("App", "Scene %1")).arg(item.number + 1);
            },
        .enterPanel = [](Scene &panel) { panel.setScenesMode(); },
        .load =
            [](Scene &panel, const Show &show, Item item) {
                panel.setSceneTime(show.sceneTime * 1000);
                panel.setColors(const_cast<QColor *>(colorsOf(show, item).data()),
                                uint(show.ledsNumber));
            },
        // A scene plays for the global scene time and fades over all of it.
        .time = [](const Show &show, Item) { return show.sceneTime * 1000; },
        .xfade = [](const Show &, Item) { return 100; },
        .frame = recordColors,
        .playsWhenShown = false,
        .choosingStops = true,
        .write =
            [](ControllerLink &link, const Show &show, Item item, int lamps,
               const ControllerLink::Progress &progress) {
                return link.writeScene(colorsOf(show, item), item.number, lamps, progress);
            },
        .read =
            [](ControllerLink &link, Show &show, Item item, int lamps,
               const ControllerLink::Progress &progress) {
                return link.readScene(colorsOf(show, item), item.number, lamps, progress);
            },
        .run = [](ControllerLink &link, Item item) { return link.runScene(item.number); },
        .writeError = QT_TRANSLATE_NOOP("App", "USB Write Scene Error"),
        .readError = QT_TRANSLATE_NOOP("App", "USB Read Scene Error"),
        .busyWhenLeft = true,
        .pollBeforeOnlineRead = false,
        .copy =
            [](const Show &from, Show &to, Item item) {
                to.sceneColors[size_t(item.number)] = from.sceneColors[size_t(item.number)];
            },
        .commands = {&Ui_MainWindow::actionLoad_Scene, &Ui_MainWindow::actionSave_Scene,
                     &Ui_MainWindow::actionLoad_Scenes, &Ui_MainWindow::actionSave_Scenes, nullptr,
                     nullptr},
        .oneFile = files::Format::Scene,
        .allFiles = files::Format::Scenes,
    },
    {
        .kind = ItemKind::Chaser,
        .name =
            [](Item item) {
                return app(QT_TRANSLATE_NOOP("App", "Chaser %1")).arg(item.number + 1);
            },
        .enterPanel = [](Scene &) {},
        .load =
            [](Scene &panel, const Show &show, Item item) {
                const t_chaser &chaser = chaserOf(show, item);
                panel.setMode(Scene::Mode::Scene);
                panel.setColors(const_cast<QColor *>(chaser.colors.data()), uint(show.ledsNumber));
                panel.setSceneTime(int(chaser.time));
                panel.setRepeat(chaser.repeat_number);
                panel.setPatternLen(chaser.pattern_len);
                panel.setDirection(chaser.direction);
                panel.setScenexFade(chaser.xfade);
                panel.setChasersMode();
                panel.setMode(Scene::Mode::Chaser);
                panel.chaser_calculate(0);
            },
        .time = [](const Show &show, Item item) { return int(chaserOf(show, item).time); },
        .xfade = [](const Show &show, Item item) { return int(chaserOf(show, item).xfade); },
        // The strip starts from the chaser's starting frame and turns it round step by step.
        .frame = [](const Show &show, Item item, ColorArray &scratch) -> const QColor * {
            const t_chaser &chaser = chaserOf(show, item);
            chaserPattern(chaser.colors.data(), boundedLampCount(show.ledsNumber),
                          chaser.pattern_len, chaser.repeat_number, scratch.data());
            return scratch.data();
        },
        .playsWhenShown = true,
        .choosingStops = false,
        .write =
            [](ControllerLink &link, const Show &show, Item item, int lamps,
               const ControllerLink::Progress &progress) {
                return link.writeChaser(chaserOf(show, item), item.number, lamps, progress);
            },
        .read =
            [](ControllerLink &link, Show &show, Item item, int lamps,
               const ControllerLink::Progress &progress) {
                return link.readChaser(show.chasers[size_t(item.number)], item.number, lamps,
                                       progress);
            },
        .run = [](ControllerLink &link, Item item) { return link.runChaser(item.number); },
        .writeError = QT_TRANSLATE_NOOP("App", "USB Write Chaser Error"),
        .readError = QT_TRANSLATE_NOOP("App", "USB Read Chaser Error"),
        .busyWhenLeft = false,
        .pollBeforeOnlineRead = true,
        .copy =
            [](const Show &from, Show &to, Item item) {
                to.chasers[size_t(item.number)] = from.chasers[size_t(item.number)];
            },
        .commands = {&Ui_MainWindow::actionLoad_Chaser, &Ui_MainWindow::actionSave_Chaser,
                     &Ui_MainWindow::actionLoad_Chasers, &Ui_MainWindow::actionSave_Chasers,
                     &Ui_MainWindow::actionRun_Chaser, &Ui_MainWindow::actionStop_Chaser},
        .oneFile = files::Format::Chaser,
        .allFiles = files::Format::Chasers,
    },
    {
        .kind = ItemKind::ProgramStep,
        .name =
            [](Item item) {
                return app(QT_TRANSLATE_NOOP("App", "Program %1, step %2"))
                    .arg(item.number + 1)
                    .arg(item.step + 1);
            },
        .enterPanel = [](Scene &panel) { panel.setProgramsMode(); },
        .load =
            [](Scene &panel, const Show &show, Item item) {
                const t_program_scene &step = stepOf(show, item);
                panel.setSceneTime(int(step.scene_time));
                panel.setScenexFade(step.scene_xfade);
                panel.setLastStep(step.scene_laststep);
                panel.setColors(const_cast<QColor *>(step.colors.data()), uint(show.ledsNumber));
            },
        // A step plays for its own time and cross-fade, as the controller plays it.
        .time = [](const Show &show, Item item) { return int(stepOf(show, item).scene_time); },
        .xfade = [](const Show &show, Item item) { return int(stepOf(show, item).scene_xfade); },
        .frame = recordColors,
        .playsWhenShown = false,
        .choosingStops = false,
        .write =
            [](ControllerLink &link, const Show &show, Item item, int lamps,
               const ControllerLink::Progress &progress) {
                return link.writeProgramScene(show.programs[size_t(item.number)], item.number,
                                              item.step, lamps, progress);
            },
        .read =
            [](ControllerLink &link, Show &show, Item item, int lamps,
               const ControllerLink::Progress &progress) {
                return link.readProgramScene(show.programs[size_t(item.number)], item.number,
                                             item.step, lamps, progress);
            },
        .run = [](ControllerLink &link, Item item) { return link.runProgram(item.number); },
        .writeError = QT_TRANSLATE_NOOP("App", "USB Write Program Error"),
        .readError = QT_TRANSLATE_NOOP("App", "USB Read Program Error"),
        .busyWhenLeft = true,
        .pollBeforeOnlineRead = false,
        .copy =
            [](const Show &from, Show &to, Item item) {
                to.programs[size_t(item.number)].scenes[size_t(item.step)] = stepOf(from, item);
            },
        .commands = {&Ui_MainWindow::actionLoad_Program, &Ui_MainWindow::actionSave_Program,
                     &Ui_MainWindow::actionLoad_Programs, &Ui_MainWindow::actionSave_Programs,
                     &Ui_MainWindow::actionRun_Program, &Ui_MainWindow::actionStop_Program},
        .oneFile = files::Format::Program,
        .allFiles = files::Format::Programs,
    },
}};

} // namespace

const ItemKindRow &kindRow(ItemKind kind)
{
    return kRows[std::clamp(size_t(kind), size_t(0), kRows.size() - 1)];
}

const std::array<ItemKindRow, 3> &kindRows()
{
    return kRows;
}

} // namespace lm740
