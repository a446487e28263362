// Moving the one editor panel through the show: the three tabs, the scene and chaser buttons, the
// program tabs with their step buttons, the lamp count, the global scene time and the last-step
// mark. The panel's edits reach the show document as they happen, so a switch only loads the item
// it enters and starts its preview; online, it also writes the item left to the controller, reads
// the one entered and tells the controller what to play.
#include "main_window.h"

#include "busy_cursor.h"
#include "logging.h"
#include "my_dock_widget.h"
#include "my_spin.h"
#include "pass_dialog.h"
#include "prompts.h"
#include "settings_layout.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QTabWidget>

using lm740::BusyCursor;
using lm740::Item;
using lm740::ItemKind;

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

void MainWindow::connectDocument()
{
    connect(scene.get(), &Scene::lampEdited, this,
            [this](int lamp, QColor color) { document.editLamp(panelItem, lamp, color); });
    connect(scene.get(), &Scene::fieldEdited, this,
            [this](lm740::Field field, int value) { document.editField(panelItem, field, value); });
    connect(&document, &lm740::ShowDocument::itemChanged, this, &MainWindow::documentItemChanged);
    connect(&document, &lm740::ShowDocument::itemEdited, this, &MainWindow::previewFollows);
    connect(&document, &lm740::ShowDocument::globalsChanged, this,
            &MainWindow::documentGlobalsChanged);
}

void MainWindow::documentItemChanged(Item item)
{
    if (panelHeld == 0 && item == panelItem)
        loadPanel(panelItem.kind);
}

void MainWindow::previewFollows(Item item)
{
    // The strip shows the panel's scene or program step while nothing plays; a chaser's strip is
    // its simulation, which starts again from the panel at its next start.
    if (item == panelItem && item.kind != ItemKind::Chaser && dockWidget->playMode == 0)
        dockWidget->followColors(lm740::colorsOf(document.show(), item).data(), ledsNumber);
}

void MainWindow::documentGlobalsChanged()
{
    {
        const QSignalBlocker quiet(ScenesTimeSpin);
        ScenesTimeSpin->setValue(document.show().sceneTime);
    }
    if (LedsNumberSpin->value() != ledsNumber)
        LedsNumberSpin->setValue(ledsNumber);
    if (panelHeld == 0) {
        fitPanelToLampCount();
        loadPanel(panelItem.kind);
    }
}

bool MainWindow::deviceReady()
{
    // A pass over the whole controller may run meanwhile: its dialog takes the focus from a box
    // of the window, which then reports the end of an edit. The controller hears only the pass.
    return onlineFlag && !lm740::PassDialog::running() && USBCheckStatus();
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
}

void MainWindow::loadPanel(ItemKind kind)
{
    panelItem = Item::current(document.show(), kind);
    const int sceneTimeMs = document.show().sceneTime * 1000;
    switch (kind) {
    case ItemKind::Scene:
        scene->setSceneTime(sceneTimeMs);
        scene->setColors(sceneColors[actualSceneNumber].data(), uint(ledsNumber));
        startPreview(sceneTimeMs, 100, sceneColors[actualSceneNumber]);
        break;
    case ItemKind::Chaser:
        loadChaserIntoPanel();
        start_chaser_simulation(true);
        break;
    case ItemKind::ProgramStep:
        loadProgramStepIntoPanel();
        startPreview(scene->getSceneTime(), scene->getScenexFade(),
                     programs[actualProgramNumber].scenes[actualProgramSceneNumber].colors);
        break;
    }
}

void MainWindow::selectCurrentProgramStep()
{
    actualProgramNumber = std::max(0, TabProgramProgram->currentIndex());
    actualProgramSceneNumber = std::max(0, programSteps(actualProgramNumber)->checkedId());
}

void MainWindow::setTabActionStates(ItemKind kind)
{
    for (QAction *a : {actionLoad_Scene, actionSave_Scene, actionLoad_Scenes, actionSave_Scenes})
        a->setEnabled(kind == ItemKind::Scene);
    for (QAction *a : {actionLoad_Chaser, actionSave_Chaser, actionLoad_Chasers, actionSave_Chasers,
                       actionRun_Chaser, actionStop_Chaser})
        a->setEnabled(kind == ItemKind::Chaser);
    for (QAction *a : {actionLoad_Program, actionSave_Program, actionLoad_Programs,
                       actionSave_Programs, actionRun_Program, actionStop_Program})
        a->setEnabled(kind == ItemKind::ProgramStep);
}

void MainWindow::TabChanged(int index)
{
    if (index < 0 || index > int(ItemKind::ProgramStep))
        return;
    const auto kind = ItemKind(index);
    stop_program_simulation(true);
    stop_chaser_simulation(true);
    document.closeEdit();
    const PanelHold hold(panelHeld);

    // The item left.
    if (deviceReady()) {
        // A chaser was always written without the wait cursor.
        std::optional<BusyCursor> busy;
        if (panelItem.kind != ItemKind::Chaser)
            busy.emplace();
        writeItem(panelItem, ledsNumber);
    }

    // The item entered.
    if (kind == ItemKind::Scene)
        scene->setScenesMode();
    dockWidget->setPlayMode(kind == ItemKind::Chaser ? 1 : 0);
    if (kind == ItemKind::ProgramStep) {
        scene->setProgramsMode();
        selectCurrentProgramStep();
    }
    const Item entered = Item::current(document.show(), kind);
    if (deviceReady()) {
        BusyCursor busy;
        readItem(entered, ledsNumber);
        runItem(entered);
    }
    loadPanel(kind);
    setTabActionStates(kind);
    qCDebug(lcApp) << "Tabchanged" << actualSceneNumber << actualProgramNumber
                   << actualProgramSceneNumber;
}

void MainWindow::SceneChanged(int index)
{
    if (index < 0 || index >= lm740::kSceneCount)
        return;
    stop_program_simulation(true);
    stop_chaser_simulation(true);
    document.closeEdit();
    const PanelHold hold(panelHeld);
    if (deviceReady()) {
        BusyCursor busy;
        writeItem(Item::scene(actualSceneNumber), ledsNumber);
        readItem(Item::scene(index), ledsNumber);
        runItem(Item::scene(index));
    }
    qCDebug(lcApp) << "scene changed" << index << "ledsnumber" << ledsNumber;
    actualSceneNumber = index;
    loadPanel(ItemKind::Scene);
}

void MainWindow::ChaserChanged(int index)
{
    if (index < 0 || index >= lm740::kChaserCount)
        return;
    document.closeEdit();
    const PanelHold hold(panelHeld);
    if (deviceReady()) {
        BusyCursor busy;
        writeItem(Item::chaser(actualChaserNumber), ledsNumber);
        readItem(Item::chaser(index), ledsNumber);
        runItem(Item::chaser(index));
    }
    qCDebug(lcApp) << "chaser changed" << index << "ledsnumber" << ledsNumber;
    actualChaserNumber = index;
    loadPanel(ItemKind::Chaser);
}

void MainWindow::ProgramSceneChanged(int)
{
    document.closeEdit();
    const PanelHold hold(panelHeld);
    selectCurrentProgramStep();
    const Item left = panelItem;
    // Only the Programs page's panel holds a step; elsewhere a change of program or step (by a
    // file load, say) leaves the scene or chaser shown alone.
    const bool panelHoldsStep = left.kind == ItemKind::ProgramStep;
    const Item entered = Item::current(document.show(), ItemKind::ProgramStep);
    if (deviceReady()) {
        BusyCursor busy;
        t_program &leftProgram = programs[left.number];
        if (panelHoldsStep && leftProgram.scenes[left.step].scene_laststep) {
            // The controller knows one last step per program: clear the others' marks there.
            qCDebug(lcApp) << "Unchecking last_step";
            for (int i = 0; i < lm740::kProgramSteps; ++i) {
                if (i != left.step &&
                    UsbSetByte(lm740::layout::programStepLastStepAddress(left.number, i), 0) == -1)
                    lm740::prompts().information(
                        nullptr, QCoreApplication::translate("App", "Error"),
                        QCoreApplication::translate("App", "USB Write Last Step"), QMessageBox::Ok);
            }
        }
        if (panelHoldsStep)
            writeItem(left, ledsNumber);
        readItem(entered, ledsNumber);
        runItem(entered);
    }
    qCDebug(lcApp) << "last pr sc " << left.number << left.step;
    qCDebug(lcApp) << "actual pr sc " << actualProgramNumber << actualProgramSceneNumber;
    if (panelHoldsStep)
        loadPanel(ItemKind::ProgramStep);
}

void MainWindow::showItem(Item item)
{
    if (!item.valid())
        return;
    if (TabWidget->currentIndex() != int(item.kind))
        TabWidget->setCurrentIndex(int(item.kind));
    switch (item.kind) {
    case ItemKind::Scene:
        if (item.number != actualSceneNumber) {
            sceneButtons->button(item.number)->setChecked(true);
            SceneChanged(item.number);
        }
        break;
    case ItemKind::Chaser:
        if (item.number != actualChaserNumber) {
            chaserButtons->button(item.number)->setChecked(true);
            ChaserChanged(item.number);
        }
        break;
    case ItemKind::ProgramStep:
        if (item.number == actualProgramNumber && item.step == actualProgramSceneNumber)
            break;
        programSteps(item.number)->button(item.step)->setChecked(true);
        if (TabProgramProgram->currentIndex() != item.number)
            TabProgramProgram->setCurrentIndex(item.number); // switches through its signal
        else
            ProgramSceneChanged(item.step);
        break;
    }
}

void MainWindow::LampsSpinChanged()
{
    const int count = std::clamp(LedsNumberSpin->value(), lm740::kMinLamps, lm740::kMaxLamps);
    qCDebug(lcApp) << "lamp count changed by" << count - ledsNumber;
    document.closeEdit();
    const PanelHold hold(panelHeld);
    // Online the controller takes the panel's item first, so that a read with the new count
    // brings only the lamps that were not shown.
    const bool ready = deviceReady();
    const Item item = panelItem;
    document.change(tr("Change lamp count to %1").arg(count), item, [&](lm740::Show &) {
        if (ready) {
            BusyCursor busy;
            writeItem(item, ledsNumber);
            if (count >= ledsNumber)
                readItem(item, count);
        }
        applyLampCount(count);
    });
    if (ready) {
        BusyCursor busy;
        if (UsbSetLampsNumber(char(ledsNumber)) != -1)
            document.keepGlobals();
        runItem(item);
    }
}

void MainWindow::fitPanelToLampCount()
{
    const int delta = ledsNumber - scene->lampCount();
    if (delta < 0) {
        qCDebug(lcApp) << "deleting " << -delta;
        BusyCursor busy;
        scene->removeLamps(uint(-delta));
    } else if (delta > 0) {
        qCDebug(lcApp) << "adding " << delta;
        BusyCursor busy;
        scene->addLamps(uint(delta),
                        lm740::colorsOf(document.show(), panelItem).data() + scene->lampCount());
    }
}

void MainWindow::applyLampCount(int count)
{
    count = std::clamp(count, lm740::kMinLamps, lm740::kMaxLamps);
    if (LedsNumberSpin->value() != count)
        LedsNumberSpin->setValue(count);
    ledsNumber = count;
    fitPanelToLampCount();
    loadPanel(panelItem.kind);
}

void MainWindow::ScenesTimeSpinChanged(int)
{
    const int seconds = ScenesTimeSpin->value();
    document.change(tr("Change scene time to %1 s").arg(seconds), panelItem,
                    [&](lm740::Show &show) { show.sceneTime = seconds; });
    if (TabWidget->currentIndex() == int(ItemKind::Scene))
        scene->setSceneTime(seconds * 1000);
    if (deviceReady() && UsbSetGlobalSceneTime(char(seconds)) != -1)
        document.keepGlobals();
}

void MainWindow::lastStepChanged(bool state)
{
    if (panelItem.kind != ItemKind::ProgramStep)
        return;
    const Item item = panelItem;
    document.change(state ? tr("Mark last step") : tr("Clear last step"), item,
                    [&](lm740::Show &show) {
                        lm740::markLastStep(show.programs[size_t(item.number)], item.step, state);
                    });
}
