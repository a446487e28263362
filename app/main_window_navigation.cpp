// Moving the one editor panel through the show: the three tabs, the scene and chaser buttons, the
// program tabs with their step buttons, the lamp count, the global scene time and the last-step
// mark. The widgets ask for a change; the document holds the current item and the navigator loads
// it into the panel. Online, a switch also writes the item left to the controller, reads the one
// entered and tells the controller what to play, before the document takes what was read.
#include "main_window.h"

#include "busy_cursor.h"
#include "item_kinds.h"
#include "logging.h"
#include "my_dock_widget.h"
#include "my_spin.h"
#include "navigator.h"
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
using lm740::kindRow;

void MainWindow::connectNavigation()
{
    navigator = new Navigator(document, *scene, *dockWidget, this);
    connect(dockWidget, &MyDockWidget::next_chaser, this, &MainWindow::next_step_chaser);
    connect(dockWidget, &MyDockWidget::next_prog, this, &MainWindow::next_programscene);
    connect(ScenesTimeSpin, &QSpinBox::valueChanged, this, &MainWindow::ScenesTimeSpinChanged);
    connect(sceneButtons, &QButtonGroup::idClicked, this, &MainWindow::SceneChanged);
    connect(chaserButtons, &QButtonGroup::idClicked, this, &MainWindow::ChaserChanged);
    connect(TabWidget, &QTabWidget::currentChanged, this, &MainWindow::TabChanged);
    connect(scene.get(), &Scene::lastStepChanged, this, &MainWindow::lastStepChanged);
    connect(LedsNumberSpin, &QAbstractSpinBox::editingFinished, this,
            &MainWindow::LampsSpinChanged);
    for (int p = 0; p < lm740::kProgramCount; ++p)
        connect(programWidgets[size_t(p)].stepButtons, &QButtonGroup::idClicked, this,
                [this, p](int step) { changeItem(Item::programStep(p, step)); });
    connect(TabProgramProgram, &QTabWidget::currentChanged, this,
            [this](int p) { changeItem(Item::programStep(p, document.chosenStep(p))); });
    connect(&document, &lm740::ShowDocument::currentChanged, this, &MainWindow::showCurrent);

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
            [this](int lamp, QColor color) { document.editLamp(document.current(), lamp, color); });
    connect(scene.get(), &Scene::fieldEdited, this, [this](lm740::Field field, int value) {
        document.editField(document.current(), field, value);
    });
    connect(&document, &lm740::ShowDocument::globalsChanged, this,
            &MainWindow::documentGlobalsChanged);
}

void MainWindow::documentGlobalsChanged()
{
    {
        const QSignalBlocker quiet(ScenesTimeSpin);
        ScenesTimeSpin->setValue(document.show().sceneTime);
    }
    if (LedsNumberSpin->value() != document.show().ledsNumber)
        LedsNumberSpin->setValue(document.show().ledsNumber);
}

QAbstractButton *MainWindow::buttonOf(Item item)
{
    if (item.kind == ItemKind::ProgramStep) {
        // A program's step buttons are made when its tab is first shown; they check the step
        // chosen then.
        QButtonGroup *steps = programWidgets[size_t(item.number)].stepButtons;
        return steps->button(item.step);
    }
    return (item.kind == ItemKind::Scene ? sceneButtons : chaserButtons)->button(item.number);
}

void MainWindow::showCurrent(Item item)
{
    {
        const QSignalBlocker quiet(TabWidget);
        TabWidget->setCurrentIndex(int(document.current().kind));
    }
    if (item.kind == ItemKind::ProgramStep) {
        const QSignalBlocker quiet(TabProgramProgram);
        TabProgramProgram->setCurrentIndex(item.number);
    }
    if (QAbstractButton *b = buttonOf(item))
        b->setChecked(true);
}

bool MainWindow::deviceReady()
{
    return m_session->ready();
}

void MainWindow::setTabActionStates(ItemKind kind)
{
    for (const lm740::ItemKindRow &row : lm740::kindRows())
        for (QAction *Ui_MainWindow::*command : row.commands)
            if (command)
                (this->*command)->setEnabled(row.kind == kind);
}

void MainWindow::TabChanged(int index)
{
    if (index < 0 || index >= int(lm740::kindRows().size()))
        return;
    const lm740::ItemKindRow &row = kindRow(ItemKind(index));
    stop_program_simulation(true);
    stop_chaser_simulation(true);
    document.closeEdit();
    const Navigator::Hold hold(*navigator);

    // The item left.
    const Item left = document.current();
    if (deviceReady()) {
        std::optional<BusyCursor> busy;
        if (kindRow(left.kind).busyWhenLeft)
            busy.emplace();
        writeItem(left, document.show().ledsNumber);
    }

    // The item entered.
    row.enterPanel(*scene);
    dockWidget->setPlayMode(row.playsWhenShown ? std::optional(row.kind) : std::nullopt);
    const Item entered = document.chosen(row.kind);
    if (deviceReady()) {
        BusyCursor busy;
        readItem(entered, document.show().ledsNumber);
        runItem(entered);
    }
    document.setCurrent(entered);
    navigator->loadPanel();
    setTabActionStates(row.kind);
    qCDebug(lcApp) << "Tabchanged" << document.show().actualSceneNumber
                   << document.show().actualProgramNumber
                   << document.show().actualProgramSceneNumber;
}

void MainWindow::SceneChanged(int index)
{
    changeItem(Item::scene(index));
}

void MainWindow::ChaserChanged(int index)
{
    changeItem(Item::chaser(index));
}

void MainWindow::ProgramSceneChanged(int)
{
    changeItem(document.chosen(ItemKind::ProgramStep));
}

void MainWindow::changeItem(Item entered)
{
    if (!entered.valid())
        return;
    if (kindRow(entered.kind).choosingStops) {
        stop_program_simulation(true);
        stop_chaser_simulation(true);
    }
    document.closeEdit();
    const Navigator::Hold hold(*navigator);
    // Only the panel of the item's own kind holds one of its items; elsewhere a choice (of a
    // program step by a file load, say) leaves the item shown alone.
    const Item left = document.current();
    const bool shown = left.kind == entered.kind;
    if (deviceReady()) {
        BusyCursor busy;
        if (shown) {
            clearOtherLastSteps(left);
            writeItem(left, document.show().ledsNumber);
        }
        readItem(entered, document.show().ledsNumber);
        runItem(entered);
    }
    qCDebug(lcApp) << "item changed from" << left.number << left.step << "to" << entered.number
                   << entered.step << "ledsnumber" << document.show().ledsNumber;
    if (!shown) {
        document.choose(entered);
        return;
    }
    document.setCurrent(entered);
    navigator->loadPanel();
}

void MainWindow::clearOtherLastSteps(Item marked)
{
    if (!lm740::fieldOf(document.show(), marked, lm740::Field::LastStep).value_or(0))
        return;
    qCDebug(lcApp) << "Unchecking last_step";
    for (int i = 0; i < lm740::kProgramSteps; ++i) {
        if (i != marked.step &&
            UsbSetByte(lm740::layout::programStepLastStepAddress(marked.number, i), 0) == -1)
            lm740::prompts().information(nullptr, QCoreApplication::translate("App", "Error"),
                                         QCoreApplication::translate("App", "USB Write Last Step"),
                                         QMessageBox::Ok);
    }
}

void MainWindow::showItem(Item item)
{
    if (!item.valid())
        return;
    if (document.current().kind != item.kind)
        TabChanged(int(item.kind));
    if (!(document.current() == item))
        changeItem(item);
}

void MainWindow::LampsSpinChanged()
{
    // A window coming up in front (a lamp's colour dialog, another program) takes the focus from
    // the box without the user leaving it, and gives it back when the user returns: the count
    // typed there is applied then, by Return, OK or leaving the box, not under that window.
    if (!LedsNumberSpin->isActiveWindow() && window()->focusWidget() == LedsNumberSpin)
        return;
    const int count = std::clamp(LedsNumberSpin->value(), lm740::kMinLamps, lm740::kMaxLamps);
    qCDebug(lcApp) << "lamp count changed by" << count - document.show().ledsNumber;
    document.closeEdit();
    const Navigator::Hold hold(*navigator);
    // Online the controller takes the panel's item first, so that a read with the new count
    // brings only the lamps that were not shown.
    const bool ready = deviceReady();
    const Item item = document.current();
    const auto read = std::make_unique<lm740::Show>(document.show());
    bool fetched = false;
    if (ready) {
        BusyCursor busy;
        writeItem(item, document.show().ledsNumber);
        if (count >= document.show().ledsNumber)
            fetched = fetchItem(item, count, *read) != -1;
    }
    document.change(tr("Change lamp count to %1").arg(count), item, [&](lm740::Show &show) {
        kindRow(item.kind).copy(*read, show, item);
        document.setGlobals(count, show.sceneTime);
    });
    // What was read is what the controller holds.
    if (fetched)
        document.keep(item);
    navigator->loadPanel();
    if (ready) {
        BusyCursor busy;
        if (UsbSetLampsNumber(char(document.show().ledsNumber)) != -1)
            document.keepGlobals();
        runItem(item);
    }
}

void MainWindow::ScenesTimeSpinChanged(int seconds)
{
    document.setGlobals(document.show().ledsNumber, seconds,
                        tr("Change scene time to %1 s").arg(seconds));
    if (deviceReady() && UsbSetGlobalSceneTime(char(seconds)) != -1)
        document.keepGlobals();
}

void MainWindow::lastStepChanged(bool state)
{
    const Item item = document.current();
    if (item.kind != ItemKind::ProgramStep)
        return;
    document.change(state ? tr("Mark last step") : tr("Clear last step"), item,
                    [&](lm740::Show &show) {
                        lm740::markLastStep(show.programs[size_t(item.number)], item.step, state);
                    });
}
