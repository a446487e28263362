// Scenes, chasers, program steps and whole programs between the show and the controller's settings
// memory, one byte per request over the controller link, with the progress bar and the error box;
// and the four commands that move the item the editor shows, or the whole current program.
#include "main_window.h"

#include "busy_cursor.h"
#include "logging.h"
#include "my_spin.h"
#include "prompts.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QProgressBar>
#include <QTabWidget>

#include <algorithm>

using lm740::BusyCursor;
using lm740::Item;
using lm740::ItemKind;

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
    int r = -1;
    switch (item.kind) {
    case ItemKind::Scene:
        r = UsbWriteScene(sceneColors[item.number].data(), item.number, lamps);
        break;
    case ItemKind::Chaser:
        r = UsbWriteChaser(&chasers[item.number], item.number, lamps);
        break;
    case ItemKind::ProgramStep:
        r = UsbWriteProgramScene(&programs[item.number], item.number, item.step, lamps);
        break;
    }
    if (r != -1)
        document.keep(item);
    return r;
}

int MainWindow::readItem(Item item, int lamps)
{
    int r = -1;
    const auto read = [&](lm740::Show &) {
        switch (item.kind) {
        case ItemKind::Scene:
            r = UsbReadScene(sceneColors[item.number].data(), item.number, lamps);
            break;
        case ItemKind::Chaser:
            r = UsbReadChaser(&chasers[item.number], item.number, lamps);
            break;
        case ItemKind::ProgramStep:
            r = UsbReadProgramScene(&programs[item.number], item.number, item.step, lamps);
            break;
        }
    };
    if (!showingStep) {
        document.change(tr("Read %1 from Lm740").arg(itemName(item)), item, read);
    } else {
        // An undo or redo is bringing its item in. A step made here would be the one undone and
        // would end the redo: what the controller holds is shown without one. Edits of the item
        // that were not kept would be lost without a step, so the window's copy stays; the
        // controller gets it at the next switch.
        if (document.isModified(item))
            return 0;
        document.changeWithoutStep(item, read);
    }
    // What was read is what the controller holds.
    if (r != -1)
        document.keep(item);
    return r;
}

int MainWindow::runItem(Item item)
{
    switch (item.kind) {
    case ItemKind::Chaser:
        return UsbRunChaser(item.number);
    case ItemKind::ProgramStep:
        return UsbRunProgram(item.number);
    case ItemKind::Scene:
        break;
    }
    return UsbRunScene(item.number);
}

QString MainWindow::itemName(Item item)
{
    switch (item.kind) {
    case ItemKind::Chaser:
        return tr("Chaser %1").arg(item.number + 1);
    case ItemKind::ProgramStep:
        return tr("Program %1 step %2").arg(item.number + 1).arg(item.step + 1);
    case ItemKind::Scene:
        break;
    }
    return tr("Scene %1").arg(item.number + 1);
}

// ---- the current item ----------------------------------------------------------------------

void MainWindow::sendGlobals()
{
    const bool sent = UsbSetGlobalSceneTime(char(document.show().sceneTime)) != -1;
    if (UsbSetLampsNumber(char(ledsNumber)) != -1 && sent)
        document.keepGlobals();
}

bool MainWindow::readGlobals()
{
    const int time = UsbGetGlobalSceneTime();
    if (time == -1)
        return false;
    ScenesTimeSpin->setValue(time);
    const int lamps = UsbGetLampsNumber();
    if (lamps == -1)
        return false;
    // The records as they stand take the count; the reads that follow bring the item itself.
    if (lamps != ledsNumber)
        applyLampCount(lamps);
    return true;
}

int MainWindow::UsbWriteActualSetting(bool)
{
    document.closeEdit();
    if (!connectedFlag)
        return 0;
    BusyCursor busy;
    if (writeItem(panelItem, ledsNumber) == -1)
        return -1;
    sendGlobals();
    return 0;
}

int MainWindow::UsbReadActualSetting(bool)
{
    document.closeEdit();
    if (panelItem.kind == ItemKind::ProgramStep)
        selectCurrentProgramStep();
    const ItemKind kind = panelItem.kind;
    if (connectedFlag &&
        !keepOrDiscardEdits({Item::current(document.show(), kind)}, Globals::Replaced))
        return -1;
    int r = 0;
    if (connectedFlag) {
        const PanelHold hold(panelHeld);
        document.change(tr("Read from Lm740"), Item::current(document.show(), kind),
                        [&](lm740::Show &) {
                            BusyCursor busy;
                            if (!readGlobals()) {
                                r = -1;
                                return;
                            }
                            r = readItem(Item::current(document.show(), kind), ledsNumber);
                        });
        if (r == -1)
            return -1;
        document.keepGlobals();
    }
    loadPanel(kind);
    return 0;
}

int MainWindow::UsbReadActualProgram(bool)
{
    qCDebug(lcApp) << "UsbReadActualProgram";
    document.closeEdit();
    selectCurrentProgramStep();
    if (connectedFlag) {
        std::vector<Item> steps;
        for (int step = 0; step < lm740::kProgramSteps; ++step)
            steps.push_back(Item::programStep(actualProgramNumber, step));
        if (!keepOrDiscardEdits(steps, Globals::Replaced))
            return -1;
        int r = 0;
        const PanelHold hold(panelHeld);
        document.change(tr("Read Program %1 from Lm740").arg(actualProgramNumber + 1),
                        Item::current(document.show(), ItemKind::ProgramStep), [&](lm740::Show &) {
                            BusyCursor busy;
                            if (!readGlobals() ||
                                UsbReadProgram(&programs[actualProgramNumber], actualProgramNumber,
                                               ledsNumber) == -1)
                                r = -1;
                        });
        if (r == -1)
            return -1;
        for (int step = 0; step < lm740::kProgramSteps; ++step)
            document.keep(Item::programStep(actualProgramNumber, step));
        document.keepGlobals();
    }
    // Only the Programs page's panel shows a step; elsewhere the program is read into the show
    // and the scene or chaser in the panel stays.
    if (panelItem.kind == ItemKind::ProgramStep)
        loadPanel(ItemKind::ProgramStep);
    return 0;
}

int MainWindow::UsbWriteActualProgram(bool)
{
    qCDebug(lcApp) << "UsbWriteActualProgram";
    document.closeEdit();
    if (!connectedFlag)
        return 0;
    qCDebug(lcApp) << "Writing Program: " << actualProgramNumber;
    BusyCursor busy;
    if (UsbWriteProgram(&programs[actualProgramNumber], actualProgramNumber, ledsNumber) == -1)
        return -1;
    for (int step = 0; step < lm740::kProgramSteps; ++step)
        document.keep(Item::programStep(actualProgramNumber, step));
    sendGlobals();
    return 0;
}
