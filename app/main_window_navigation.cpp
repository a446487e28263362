// Moving the one editor panel through the show: the three tabs, the scene and chaser buttons, the
// program tabs with their step buttons, the lamp count, the global scene time and the last-step
// mark. Each switch writes the panel back into the item it leaves, loads the item it enters and
// starts its preview; online, it also keeps the controller in step and tells it what to play.
#include "main_window.h"

#include "busy_cursor.h"
#include "logging.h"
#include "my_dock_widget.h"
#include "my_spin.h"
#include "pass_dialog.h"
#include "prompts.h"
#include "settings_layout.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QTabWidget>

using lm740::BusyCursor;

namespace {

enum Tab { Scenes = 0, Chasers = 1, Programs = 2 };

} // namespace

void MainWindow::connectNavigation()
{
    connect(dockWidget, &MyDockWidget::next_chaser, this, &MainWindow::next_step_chaser);
    connect(dockWidget, &MyDockWidget::next_prog, this, &MainWindow::next_programscene);
    connect(ScenesTimeSpin, &QSpinBox::valueChanged, this, &MainWindow::ScenesTimeSpinChanged);
    connect(sceneButtons, &QButtonGroup::idClicked, this, &MainWindow::SceneChanged);
    connect(chaserButtons, &QButtonGroup::idClicked, this, &MainWindow::ChaserChanged);
    connect(TabWidget, &QTabWidget::currentChanged, this, &MainWindow::TabChanged);
    connect(scene.get(), &Scene::lastStepChanged, this, &MainWindow::lastStepChanged);
    connect(LedsNumberSpin, &QAbstractSpinBox::editingFinished, this,
            &MainWindow::LampsSpinChanged);
    for (ProgramWidgets &pw : programWidgets)
        connect(pw.stepButtons, &QButtonGroup::idClicked, this, &MainWindow::ProgramSceneChanged);
    connect(TabProgramProgram, &QTabWidget::currentChanged, this, &MainWindow::ProgramSceneChanged);

    connect(actionRun_Program, &QAction::triggered, this, &MainWindow::start_program_simulation);
    connect(actionStop_Program, &QAction::triggered, this, &MainWindow::stop_program_simulation);
    connect(actionRun_Chaser, &QAction::triggered, this, &MainWindow::start_chaser_simulation);
    connect(actionStop_Chaser, &QAction::triggered, this, &MainWindow::stop_chaser_simulation);
    connect(actionWrite_Settings, &QAction::triggered, this, &MainWindow::UsbWriteActualSetting);
    connect(actionRead_Settings, &QAction::triggered, this, &MainWindow::UsbReadActualSetting);
    connect(actionWrite_Current_Program, &QAction::triggered, this,
            &MainWindow::UsbWriteActualProgram);
    connect(actionRead_Current_Program, &QAction::triggered, this,
            &MainWindow::UsbReadActualProgram);
    connect(actionBlackout, &QAction::triggered, this, &MainWindow::Blackout);
    connect(actionOnline, &QAction::triggered, this, &MainWindow::UsbSetOnline);
}

bool MainWindow::deviceReady()
{
    // A pass over the whole controller may run meanwhile: its dialog takes the focus from a box
    // of the window, which then reports the end of an edit. The controller hears only the pass.
    return onlineFlag && !lm740::PassDialog::running() && USBCheckStatus();
}

void MainWindow::panelToScene(int s)
{
    scene->getColors(sceneColors[s].data(), uint(ledsNumber));
}

void MainWindow::panelToChaser(int c)
{
    t_chaser &chaser = chasers[c];
    scene->getColors(chaser.colors.data(), uint(ledsNumber));
    chaser.time = quint32(scene->getSceneTime());
    chaser.direction = quint8(scene->getDirection());
    chaser.pattern_len = quint8(scene->getPatternLen());
    chaser.repeat_number = quint8(scene->getRepeat());
    chaser.xfade = quint8(scene->getScenexFade());
}

void MainWindow::panelToProgramStep(int p, int step)
{
    t_program_scene &s = programs[p].scenes[step];
    scene->getColors(s.colors.data(), uint(ledsNumber));
    s.scene_time = quint32(scene->getSceneTime());
    s.scene_xfade = quint8(scene->getScenexFade());
    s.scene_laststep = quint8(scene->getLastStep());
}

void MainWindow::writeBackCurrentItem()
{
    switch (previousTab) {
    case Scenes:
        panelToScene(actualSceneNumber);
        break;
    case Chasers:
        panelToChaser(actualChaserNumber);
        break;
    case Programs:
        panelToProgramStep(previousProgramStep.program, previousProgramStep.step);
        break;
    }
}

lm740::ColorArray &MainWindow::currentItemColors()
{
    switch (previousTab) {
    case Chasers:
        return chasers[actualChaserNumber].colors;
    case Programs:
        return programs[actualProgramNumber].scenes[actualProgramSceneNumber].colors;
    default:
        return sceneColors[actualSceneNumber];
    }
}

void MainWindow::startPreview(int time, int xfade, const lm740::ColorArray &colors)
{
    dockWidget->startFade(quint32(time), quint32(xfade), colors.data(), ledsNumber);
}

void MainWindow::loadChaserIntoPanel()
{
    t_chaser &chaser = chasers[actualChaserNumber];
    scene->setMode(Scene::Mode::Scenes);
    scene->setColors(chaser.colors.data(), uint(ledsNumber));
    scene->setSceneTime(int(chaser.time));
    scene->setRepeat(chaser.repeat_number);
    scene->setPatternLen(chaser.pattern_len);
    scene->setDirection(chaser.direction);
    scene->setScenexFade(chaser.xfade);
    scene->setChasersMode();
    scene->setMode(Scene::Mode::Chasers);
    scene->chaser_calculate(0);
}

void MainWindow::loadProgramStepIntoPanel()
{
    const t_program_scene &s = programs[actualProgramNumber].scenes[actualProgramSceneNumber];
    scene->setSceneTime(int(s.scene_time));
    scene->setScenexFade(s.scene_xfade);
    scene->setLastStep(s.scene_laststep);
    scene->setColors(const_cast<QColor *>(s.colors.data()), uint(ledsNumber));
    previousProgramStep = {actualProgramNumber, actualProgramSceneNumber};
}

void MainWindow::loadPanel(int tab)
{
    switch (tab) {
    case Scenes:
        scene->setSceneTime(ScenesTimeSpin->value() * 1000);
        scene->setColors(sceneColors[actualSceneNumber].data(), uint(ledsNumber));
        startPreview(ScenesTimeSpin->value() * 1000, 100, sceneColors[actualSceneNumber]);
        break;
    case Chasers:
        loadChaserIntoPanel();
        start_chaser_simulation(true);
        break;
    case Programs:
        loadProgramStepIntoPanel();
        startPreview(scene->getSceneTime(), scene->getScenexFade(),
                     programs[actualProgramNumber].scenes[actualProgramSceneNumber].colors);
        break;
    }
}

void MainWindow::selectCurrentProgramStep()
{
    actualProgramNumber = std::max(0, TabProgramProgram->currentIndex());
    actualProgramSceneNumber =
        std::max(0, programWidgets[actualProgramNumber].stepButtons->checkedId());
}

void MainWindow::setTabActionStates(int tab)
{
    for (QAction *a : {actionLoad_Scene, actionSave_Scene, actionLoad_Scenes, actionSave_Scenes})
        a->setEnabled(tab == Scenes);
    for (QAction *a : {actionLoad_Chaser, actionSave_Chaser, actionLoad_Chasers, actionSave_Chasers,
                       actionRun_Chaser, actionStop_Chaser})
        a->setEnabled(tab == Chasers);
    for (QAction *a : {actionLoad_Program, actionSave_Program, actionLoad_Programs,
                       actionSave_Programs, actionRun_Program, actionStop_Program})
        a->setEnabled(tab == Programs);
}

void MainWindow::TabChanged(int index)
{
    stop_program_simulation(true);
    stop_chaser_simulation(true);

    // The item left.
    writeBackCurrentItem();
    switch (previousTab) {
    case Scenes:
        if (deviceReady()) {
            BusyCursor busy;
            UsbWriteScene(sceneColors[actualSceneNumber].data(), actualSceneNumber, ledsNumber);
        }
        break;
    case Chasers:
        if (deviceReady())
            UsbWriteChaser(&chasers[actualChaserNumber], actualChaserNumber, ledsNumber);
        break;
    case Programs:
        if (deviceReady()) {
            BusyCursor busy;
            UsbWriteProgramScene(&programs[previousProgramStep.program],
                                 previousProgramStep.program, previousProgramStep.step, ledsNumber);
        }
        break;
    }

    // The item entered.
    switch (index) {
    case Scenes:
        scene->setScenesMode();
        dockWidget->setPlayMode(0);
        if (deviceReady()) {
            BusyCursor busy;
            UsbReadScene(sceneColors[actualSceneNumber].data(), actualSceneNumber, ledsNumber);
            UsbRunScene(actualSceneNumber);
        }
        break;
    case Chasers:
        dockWidget->setPlayMode(1);
        if (deviceReady()) {
            BusyCursor busy;
            UsbReadChaser(&chasers[actualChaserNumber], actualChaserNumber, ledsNumber);
            UsbRunChaser(actualChaserNumber);
        }
        break;
    case Programs:
        dockWidget->setPlayMode(0);
        scene->setProgramsMode();
        selectCurrentProgramStep();
        if (deviceReady()) {
            BusyCursor busy;
            UsbReadProgramScene(&programs[actualProgramNumber], actualProgramNumber,
                                actualProgramSceneNumber, ledsNumber);
            UsbRunProgram(actualProgramNumber);
        }
        break;
    default:
        return;
    }
    previousTab = index;
    loadPanel(index);
    setTabActionStates(index);
    qCDebug(lcApp) << "Tabchanged" << actualSceneNumber << actualProgramNumber
                   << actualProgramSceneNumber;
}

void MainWindow::SceneChanged(int index)
{
    if (index < 0 || index >= lm740::kSceneCount)
        return;
    stop_program_simulation(true);
    stop_chaser_simulation(true);
    panelToScene(actualSceneNumber);
    if (deviceReady()) {
        BusyCursor busy;
        UsbWriteScene(sceneColors[actualSceneNumber].data(), actualSceneNumber, ledsNumber);
        UsbReadScene(sceneColors[index].data(), index, ledsNumber);
        UsbRunScene(index);
    }
    qCDebug(lcApp) << "scene changed" << index << "ledsnumber" << ledsNumber;
    actualSceneNumber = index;
    loadPanel(Scenes);
}

void MainWindow::ChaserChanged(int index)
{
    if (index < 0 || index >= lm740::kChaserCount)
        return;
    panelToChaser(actualChaserNumber);
    if (deviceReady()) {
        BusyCursor busy;
        UsbWriteChaser(&chasers[actualChaserNumber], actualChaserNumber, ledsNumber);
        UsbReadChaser(&chasers[index], index, ledsNumber);
        UsbRunChaser(index);
    }
    qCDebug(lcApp) << "chaser changed" << index << "ledsnumber" << ledsNumber;
    actualChaserNumber = index;
    loadPanel(Chasers);
}

void MainWindow::ProgramSceneChanged(int)
{
    selectCurrentProgramStep();
    const ProgramStep left = previousProgramStep;
    // Only the Programs page's panel holds a step; elsewhere a change of program or step (by a
    // file load, say) must not take the scene or chaser shown for a step.
    const bool panelHoldsStep = previousTab == Programs;
    if (panelHoldsStep)
        panelToProgramStep(left.program, left.step);
    if (deviceReady()) {
        BusyCursor busy;
        t_program &leftProgram = programs[left.program];
        if (panelHoldsStep && leftProgram.scenes[left.step].scene_laststep) {
            // The controller knows one last step per program: clear the others' marks there.
            qCDebug(lcApp) << "Unchecking last_step";
            for (int i = 0; i < lm740::kProgramSteps; ++i) {
                if (i != left.step &&
                    UsbSetByte(lm740::layout::programStepLastStepAddress(left.program, i), 0) == -1)
                    lm740::prompts().information(
                        nullptr, QCoreApplication::translate("App", "Error"),
                        QCoreApplication::translate("App", "USB Write Last Step"), QMessageBox::Ok);
            }
        }
        if (panelHoldsStep)
            UsbWriteProgramScene(&leftProgram, left.program, left.step, ledsNumber);
        UsbReadProgramScene(&programs[actualProgramNumber], actualProgramNumber,
                            actualProgramSceneNumber, ledsNumber);
        UsbRunProgram(actualProgramNumber);
    }
    qCDebug(lcApp) << "last pr sc " << left.program << left.step;
    qCDebug(lcApp) << "actual pr sc " << actualProgramNumber << actualProgramSceneNumber;
    if (panelHoldsStep)
        loadPanel(Programs);
}

void MainWindow::LampsSpinChanged()
{
    // The panel's edits belong to the current item before the count changes anything; online the
    // controller takes them too, so that a read with the new count brings only the lamps that
    // were not shown.
    writeBackCurrentItem();
    const int count = LedsNumberSpin->value();
    qCDebug(lcApp) << "LAMPS SPIN CHANGED!!!!!"
                   << "delta" << count - ledsNumber;
    const bool ready = deviceReady();
    if (ready) {
        BusyCursor busy;
        switch (previousTab) {
        case Scenes:
            UsbWriteScene(sceneColors[actualSceneNumber].data(), actualSceneNumber, ledsNumber);
            if (count >= ledsNumber)
                UsbReadScene(sceneColors[actualSceneNumber].data(), actualSceneNumber, count);
            break;
        case Chasers:
            UsbWriteChaser(&chasers[actualChaserNumber], actualChaserNumber, ledsNumber);
            if (count >= ledsNumber)
                UsbReadChaser(&chasers[actualChaserNumber], actualChaserNumber, count);
            break;
        case Programs:
            UsbWriteProgramScene(&programs[actualProgramNumber], actualProgramNumber,
                                 actualProgramSceneNumber, ledsNumber);
            if (count >= ledsNumber)
                UsbReadProgramScene(&programs[actualProgramNumber], actualProgramNumber,
                                    actualProgramSceneNumber, count);
            break;
        }
    }
    applyLampCount(count);
    if (ready) {
        BusyCursor busy;
        UsbSetLampsNumber(char(ledsNumber));
        switch (previousTab) {
        case Scenes:
            UsbRunScene(actualSceneNumber);
            break;
        case Chasers:
            UsbRunChaser(actualChaserNumber);
            break;
        case Programs:
            UsbRunProgram(actualProgramNumber);
            break;
        }
    }
}

void MainWindow::applyLampCount(int count)
{
    count = std::clamp(count, lm740::kMinLamps, lm740::kMaxLamps);
    const int delta = count - ledsNumber;
    if (LedsNumberSpin->value() != count)
        LedsNumberSpin->setValue(count);
    if (delta < 0) {
        qCDebug(lcApp) << "deleting " << -delta;
        BusyCursor busy;
        scene->removeLamps(uint(-delta));
    } else if (delta > 0) {
        qCDebug(lcApp) << "adding " << delta;
        BusyCursor busy;
        scene->addLamps(uint(delta), currentItemColors().data() + ledsNumber);
    }
    ledsNumber = count;
    loadPanel(previousTab);
}

void MainWindow::ScenesTimeSpinChanged(int)
{
    if (TabWidget->currentIndex() == Scenes)
        scene->setSceneTime(ScenesTimeSpin->value() * 1000);
    if (deviceReady())
        UsbSetGlobalSceneTime(char(ScenesTimeSpin->value()));
}

void MainWindow::lastStepChanged(bool state)
{
    lm740::markLastStep(programs[actualProgramNumber], actualProgramSceneNumber, state);
}
