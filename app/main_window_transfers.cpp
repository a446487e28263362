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

namespace {

enum Tab { Scenes = 0, Chasers = 1, Programs = 2 };

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

// ---- the current item ----------------------------------------------------------------------

void MainWindow::sendGlobals()
{
    UsbSetGlobalSceneTime(char(ScenesTimeSpin->value()));
    UsbSetLampsNumber(char(LedsNumberSpin->value()));
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
    writeBackCurrentItem();
    if (!connectedFlag)
        return 0;
    BusyCursor busy;
    int r = 0;
    switch (previousTab) {
    case Scenes:
        r = UsbWriteScene(sceneColors[actualSceneNumber].data(), actualSceneNumber, ledsNumber);
        break;
    case Chasers:
        r = UsbWriteChaser(&chasers[actualChaserNumber], actualChaserNumber, ledsNumber);
        break;
    case Programs:
        r = UsbWriteProgramScene(&programs[actualProgramNumber], actualProgramNumber,
                                 actualProgramSceneNumber, ledsNumber);
        break;
    }
    if (r == -1)
        return -1;
    sendGlobals();
    return 0;
}

int MainWindow::UsbReadActualSetting(bool)
{
    if (previousTab == Programs)
        selectCurrentProgramStep();
    if (connectedFlag) {
        BusyCursor busy;
        if (!readGlobals())
            return -1;
        int r = 0;
        switch (previousTab) {
        case Scenes:
            r = UsbReadScene(sceneColors[actualSceneNumber].data(), actualSceneNumber, ledsNumber);
            break;
        case Chasers:
            r = UsbReadChaser(&chasers[actualChaserNumber], actualChaserNumber, ledsNumber);
            break;
        case Programs:
            r = UsbReadProgramScene(&programs[actualProgramNumber], actualProgramNumber,
                                    actualProgramSceneNumber, ledsNumber);
            break;
        }
        if (r == -1)
            return -1;
    }
    loadPanel(previousTab);
    return 0;
}

int MainWindow::UsbReadActualProgram(bool)
{
    qCDebug(lcApp) << "UsbReadActualProgram";
    selectCurrentProgramStep();
    // A new lamp count reloads the panel: on another page it shows an item that stays.
    if (previousTab != Programs)
        writeBackCurrentItem();
    if (connectedFlag) {
        BusyCursor busy;
        if (!readGlobals())
            return -1;
        if (UsbReadProgram(&programs[actualProgramNumber], actualProgramNumber, ledsNumber) == -1)
            return -1;
    }
    // Only the Programs page's panel shows a step; elsewhere the program is read into the show
    // and the scene or chaser in the panel stays.
    if (previousTab == Programs)
        loadPanel(Programs);
    return 0;
}

int MainWindow::UsbWriteActualProgram(bool)
{
    qCDebug(lcApp) << "UsbWriteActualProgram";
    // The panel holds a program step only on the Programs page.
    if (previousTab == Programs)
        writeBackCurrentItem();
    if (!connectedFlag)
        return 0;
    qCDebug(lcApp) << "Writing Program: " << actualProgramNumber;
    BusyCursor busy;
    if (UsbWriteProgram(&programs[actualProgramNumber], actualProgramNumber, ledsNumber) == -1)
        return -1;
    sendGlobals();
    return 0;
}
