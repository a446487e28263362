// Scenes, chasers, program steps and whole programs between the show and the controller's settings
// memory, one byte per request over the controller link, with the progress bar and the error box;
// and the four commands that move the item the editor shows, or the whole current program.
#include "main_window.h"

#include "busy_cursor.h"
#include "item_kinds.h"
#include "logging.h"
#include "my_spin.h"
#include "navigator.h"
#include "prompts.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QProgressBar>
#include <QTabWidget>

#include <algorithm>

using lm740::BusyCursor;
using lm740::Item;
using lm740::ItemKind;
using lm740::kindRow;

namespace {

lm740::ColorArray toArray(const QColor *colors, int lamps)
{
    lm740::ColorArray a;
    std::copy_n(colors, lm740::boundedLampCount(lamps), a.begin());
    return a;
}

} // namespace

void MainWindow::setProgress(int percent)
{
    progressBar->setValue(percent);
}

int MainWindow::transferResult(int result, const char *errorText)
{
    if (result < 0) {
        lm740::prompts().information(nullptr, QCoreApplication::translate("App", "Error"),
                                     QCoreApplication::translate("App", errorText),
                                     QMessageBox::Ok);
        return -1;
    }
    progressBar->reset();
    return 0;
}

int MainWindow::UsbWriteScene(QColor *color_tab, int scene_number, int leds_number)
{
    if (!color_tab)
        return -1;
    const int r = controllerLink.writeScene(toArray(color_tab, leds_number), scene_number,
                                            leds_number, [this](int p) { setProgress(p); });
    return transferResult(r, QT_TRANSLATE_NOOP("App", "USB Write Scene Error"));
}

int MainWindow::UsbReadScene(QColor *color_tab, int scene_number, int leds_number)
{
    if (!color_tab)
        return -1;
    lm740::ColorArray read = toArray(color_tab, leds_number);
    const int r = controllerLink.readScene(read, scene_number, leds_number,
                                           [this](int p) { setProgress(p); });
    if (r == 0)
        std::copy_n(read.begin(), lm740::boundedLampCount(leds_number), color_tab);
    return transferResult(r, QT_TRANSLATE_NOOP("App", "USB Read Scene Error"));
}

int MainWindow::UsbWriteChaser(t_chaser *chaser_pointer, int chaser_number, int leds_number)
{
    if (!chaser_pointer)
        return -1;
    const int r = controllerLink.writeChaser(*chaser_pointer, chaser_number, leds_number,
                                             [this](int p) { setProgress(p); });
    return transferResult(r, QT_TRANSLATE_NOOP("App", "USB Write Chaser Error"));
}

int MainWindow::UsbReadChaser(t_chaser *chaser_pointer, int chaser_number, int leds_number)
{
    if (!chaser_pointer)
        return -1;
    const int r = controllerLink.readChaser(*chaser_pointer, chaser_number, leds_number,
                                            [this](int p) { setProgress(p); });
    return transferResult(r, QT_TRANSLATE_NOOP("App", "USB Read Chaser Error"));
}

int MainWindow::UsbWriteProgramScene(t_program *program_pointer, int program_number,
                                     int scene_number, int leds_number)
{
    if (!program_pointer)
        return -1;
    const int r = controllerLink.writeProgramScene(*program_pointer, program_number, scene_number,
                                                   leds_number, [this](int p) { setProgress(p); });
    return transferResult(r, QT_TRANSLATE_NOOP("App", "USB Write Program Error"));
}

int MainWindow::UsbReadProgramScene(t_program *program_pointer, int program_number,
                                    int scene_number, int leds_number)
{
    if (!program_pointer)
        return -1;
    const int r = controllerLink.readProgramScene(*program_pointer, program_number, scene_number,
                                                  leds_number, [this](int p) { setProgress(p); });
    return transferResult(r, QT_TRANSLATE_NOOP("App", "USB Read Program Error"));
}

int MainWindow::UsbWriteProgram(t_program *program_pointer, int program_number, int leds_number)
{
    if (!program_pointer)
        return -1;
    const int r = controllerLink.writeProgram(*program_pointer, program_number, leds_number,
                                              [this](int p) { setProgress(p); });
    return transferResult(r, QT_TRANSLATE_NOOP("App", "USB Write Program Error"));
}

int MainWindow::UsbReadProgram(t_program *program_pointer, int program_number, int leds_number)
{
    if (!program_pointer)
        return -1;
    const int r = controllerLink.readProgram(*program_pointer, program_number, leds_number,
                                             [this](int p) { setProgress(p); });
    return transferResult(r, QT_TRANSLATE_NOOP("App", "USB Read Program Error"));
}

// ---- one item ----------------------------------------------------------------------------

int MainWindow::writeItem(Item item, int lamps)
{
    const lm740::ItemKindRow &row = kindRow(item.kind);
    const int r = transferResult(
        row.write(controllerLink, document.show(), item, lamps, [this](int p) { setProgress(p); }),
        row.writeError);
    if (r != -1)
        document.keep(item);
    return r;
}

int MainWindow::fetchItem(Item item, int lamps, lm740::Show &into)
{
    const lm740::ItemKindRow &row = kindRow(item.kind);
    return transferResult(
        row.read(controllerLink, into, item, lamps, [this](int p) { setProgress(p); }),
        row.readError);
}

int MainWindow::readItem(Item item, int lamps)
{
    // An undo or redo is bringing its item in. A step made here would be the one undone and
    // would end the redo: what the controller holds is shown without one. Edits of the item that
    // were not kept would be lost without a step, so the window's copy stays; the controller gets
    // it at the next switch.
    if (showingStep && document.isModified(item))
        return 0;
    const auto read = std::make_unique<lm740::Show>(document.show());
    const int r = fetchItem(item, lamps, *read);
    const auto store = [&](lm740::Show &show) { kindRow(item.kind).copy(*read, show, item); };
    if (!showingStep)
        document.change(tr("Read %1 from Lm740").arg(kindRow(item.kind).name(item)), item, store);
    else
        document.changeWithoutStep(item, store);
    // What was read is what the controller holds.
    if (r != -1)
        document.keep(item);
    return r;
}

int MainWindow::runItem(Item item)
{
    return kindRow(item.kind).run(controllerLink, item);
}

// ---- the current item ----------------------------------------------------------------------

void MainWindow::sendGlobals()
{
    const bool sent = UsbSetGlobalSceneTime(char(document.show().sceneTime)) != -1;
    if (UsbSetLampsNumber(char(ledsNumber)) != -1 && sent)
        document.keepGlobals();
}

bool MainWindow::readGlobals(std::optional<int> &sceneTime, std::optional<int> &lamps)
{
    const int time = UsbGetGlobalSceneTime();
    if (time == -1)
        return false;
    // The scene time box held the value a controller gave, so it came in cut to the box's range.
    sceneTime = std::clamp(time, lm740::kMinSceneTime, lm740::kMaxSceneTime);
    const int count = UsbGetLampsNumber();
    if (count == -1)
        return false;
    lamps = std::clamp(count, lm740::kMinLamps, lm740::kMaxLamps);
    return true;
}

void MainWindow::storeRead(const QString &text, Item shown, const std::optional<int> &sceneTime,
                           const std::optional<int> &lamps,
                           const std::function<void(lm740::Show &)> &copy)
{
    // Whatever arrived is stored, the parameters read before a failed one too.
    document.change(text, shown, [&](lm740::Show &show) {
        document.setGlobals(lamps.value_or(show.ledsNumber), sceneTime.value_or(show.sceneTime));
        copy(show);
    });
}

int MainWindow::UsbWriteActualSetting(bool)
{
    document.closeEdit();
    if (!connectedFlag)
        return 0;
    BusyCursor busy;
    if (writeItem(document.current(), ledsNumber) == -1)
        return -1;
    sendGlobals();
    return 0;
}

int MainWindow::UsbReadActualSetting(bool)
{
    document.closeEdit();
    const Item item = document.current();
    if (connectedFlag && !keepOrDiscardEdits({item}, Globals::Replaced))
        return -1;
    if (connectedFlag) {
        std::optional<int> sceneTime;
        std::optional<int> lamps;
        const auto read = std::make_unique<lm740::Show>(document.show());
        int r = -1;
        {
            BusyCursor busy;
            if (readGlobals(sceneTime, lamps))
                r = fetchItem(item, *lamps, *read);
        }
        const Navigator::Hold hold(*navigator);
        storeRead(tr("Read from Lm740"), item, sceneTime, lamps,
                  [&](lm740::Show &show) { kindRow(item.kind).copy(*read, show, item); });
        if (r == -1)
            return -1;
        document.keep(item);
        document.keepGlobals();
    }
    navigator->loadPanel();
    return 0;
}

int MainWindow::UsbReadActualProgram(bool)
{
    qCDebug(lcApp) << "UsbReadActualProgram";
    document.closeEdit();
    const int program = document.chosen(ItemKind::ProgramStep).number;
    if (connectedFlag) {
        std::vector<Item> steps;
        for (int step = 0; step < lm740::kProgramSteps; ++step)
            steps.push_back(Item::programStep(program, step));
        if (!keepOrDiscardEdits(steps, Globals::Replaced))
            return -1;
        std::optional<int> sceneTime;
        std::optional<int> lamps;
        const auto read = std::make_unique<lm740::Show>(document.show());
        int r = -1;
        {
            BusyCursor busy;
            if (readGlobals(sceneTime, lamps))
                r = UsbReadProgram(&read->programs[size_t(program)], program, *lamps);
        }
        const Navigator::Hold hold(*navigator);
        storeRead(tr("Read Program %1 from Lm740").arg(program + 1),
                  document.chosen(ItemKind::ProgramStep), sceneTime, lamps, [&](lm740::Show &show) {
                      show.programs[size_t(program)] = read->programs[size_t(program)];
                  });
        if (r == -1)
            return -1;
        for (const Item &step : steps)
            document.keep(step);
        document.keepGlobals();
    }
    // Only the Programs page's panel shows a step; elsewhere the program is read into the show
    // and the scene or chaser in the panel stays.
    if (document.current().kind == ItemKind::ProgramStep)
        navigator->loadPanel();
    return 0;
}

int MainWindow::UsbWriteActualProgram(bool)
{
    qCDebug(lcApp) << "UsbWriteActualProgram";
    document.closeEdit();
    if (!connectedFlag)
        return 0;
    const int program = document.chosen(ItemKind::ProgramStep).number;
    qCDebug(lcApp) << "Writing Program: " << program;
    BusyCursor busy;
    if (UsbWriteProgram(&programs[size_t(program)], program, ledsNumber) == -1)
        return -1;
    for (int step = 0; step < lm740::kProgramSteps; ++step)
        document.keep(Item::programStep(program, step));
    sendGlobals();
    return 0;
}
