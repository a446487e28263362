#include "item_commands.h"

#include "busy_cursor.h"
#include "controller_session.h"
#include "desktop_state.h"
#include "item_kinds.h"
#include "logging.h"
#include "my_dock_widget.h"
#include "my_spin.h"
#include "navigator.h"
#include "prompts.h"
#include "settings_layout.h"
#include "show_document.h"
#include "show_files.h"
#include "ui_main_window.h"
#include "window_widgets.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QUndoStack>

#include <algorithm>
#include <memory>

using lm740::BusyCursor;
using lm740::Item;
using lm740::ItemKind;
using lm740::kindRow;
using lm740::Show;
using Parameter = ControllerSession::Parameter;

namespace {

QString app(const char *text)
{
    return QCoreApplication::translate("App", text);
}

void information(const char *title, const char *text)
{
    lm740::prompts().information(nullptr, app(title), app(text), QMessageBox::Ok);
}

} // namespace

ItemCommands::ItemCommands(lm740::ShowDocument &document, ControllerSession &session,
                           Navigator &navigator, WindowWidgets &widgets, Ui::MainWindow &form,
                           QWidget &window)
    : QObject(&window), m_document(document), m_session(session), m_navigator(navigator),
      m_widgets(widgets), m_form(form), m_window(window)
{
    Scene *panel = widgets.scene.get();
    connect(panel, &Scene::lampEdited, this, [this](int lamp, QColor color) {
        m_document.editLamp(m_document.current(), lamp, color);
    });
    connect(panel, &Scene::fieldEdited, this, [this](lm740::Field field, int value) {
        m_document.editField(m_document.current(), field, value);
    });
    connect(&document, &lm740::ShowDocument::globalsChanged, this, &ItemCommands::showGlobals);
    connect(&document, &lm740::ShowDocument::currentChanged, this, &ItemCommands::showCurrent);
    for (int p = 0; p < lm740::kProgramCount; ++p)
        connect(widgets.stepGroup(p), &QButtonGroup::idClicked, this,
                [this, p](int step) { changeItem(Item::programStep(p, step)); });
    connect(widgets.TabProgramProgram, &QTabWidget::currentChanged, this,
            [this](int p) { changeItem(Item::programStep(p, m_document.chosenStep(p))); });
    // OK applies what its box holds. A click with the mouse takes the focus from the box, whose
    // end of editing has applied the value already; a click that leaves the focus in the box
    // (the keyboard's, an assistive tool's) applies it here.
    connect(widgets.LedsNumberButton, &QAbstractButton::clicked, this, [this] {
        if (m_widgets.LedsNumberSpin->value() != m_document.show().ledsNumber)
            applyLampCount();
    });
    connect(widgets.ScenesTimeButton, &QAbstractButton::clicked, this, [this] {
        if (m_widgets.ScenesTimeSpin->value() != m_document.show().sceneTime)
            applySceneTime(m_widgets.ScenesTimeSpin->value());
    });
    connectEditMenu();
}

// ---- the user's gestures, undo and redo ----------------------------------------------------
// An undo first brings the item it changes into the panel, the way the user would switch to it,
// so that online the item left goes to the controller and the undone item follows at the next
// switch or write, as any edit does. The read of the item brought in only shows it: it is no step,
// so the history stays and the undo undoes what it names.

void ItemCommands::connectEditMenu()
{
    QUndoStack &stack = m_document.undoStack();
    QAction *undo = m_widgets.actionUndo;
    QAction *redo = m_widgets.actionRedo;
    connect(&stack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::undoTextChanged, this, [undo](const QString &text) {
        undo->setText(text.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(text));
    });
    connect(&stack, &QUndoStack::redoTextChanged, this, [redo](const QString &text) {
        redo->setText(text.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(text));
    });
    qApp->installEventFilter(this);
}

bool ItemCommands::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
        for (int p = 0; p < lm740::kProgramCount; ++p)
            if (watched == m_widgets.programPage(p))
                m_widgets.programSteps(p);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::FocusIn:
        m_document.newGesture();
        break;
    case QEvent::Drop:
        m_document.newGesture();
        m_document.nameEdit(lm740::ShowDocument::EditName::Drop);
        break;
    case QEvent::KeyPress: {
        // Typing into one field is one gesture; a command key or a key that finishes the value
        // begins the next.
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ||
            key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
            key->key() == Qt::Key_Tab)
            m_document.newGesture();
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ItemCommands::sendChangedGlobals(int lampsBefore, int sceneTimeBefore)
{
    const Show &show = m_document.show();
    if ((show.ledsNumber == lampsBefore && show.sceneTime == sceneTimeBefore) || !deviceReady())
        return;
    BusyCursor busy;
    bool sent = true;
    if (show.sceneTime != sceneTimeBefore)
        sent = m_session.writeParameter(Parameter::SceneTime, char(show.sceneTime)) != -1;
    if (show.ledsNumber != lampsBefore)
        sent = m_session.writeParameter(Parameter::LampCount, char(show.ledsNumber)) != -1 && sent;
    if (sent)
        m_document.keepGlobals();
}

void ItemCommands::replay(int index, const std::function<void()> &step)
{
    if (const std::optional<Item> item = m_document.itemOfStep(index)) {
        const QScopedValueRollback showing(m_showingStep, true);
        showItem(*item);
    }
    const int lamps = m_document.show().ledsNumber;
    const int sceneTime = m_document.show().sceneTime;
    step();
    sendChangedGlobals(lamps, sceneTime);
}

void ItemCommands::undo()
{
    m_document.closeEdit();
    if (m_document.undoStack().canUndo())
        replay(m_document.undoStack().index() - 1, [this] { m_document.undo(); });
}

void ItemCommands::redo()
{
    m_document.closeEdit();
    if (m_document.undoStack().canRedo())
        replay(m_document.undoStack().index(), [this] { m_document.redo(); });
}

// ---- switching the item shown ----------------------------------------------------------------

bool ItemCommands::deviceReady()
{
    return m_session.ready();
}

void ItemCommands::stopSimulations()
{
    m_navigator.stop(ItemKind::ProgramStep);
    m_navigator.stop(ItemKind::Chaser);
}

void ItemCommands::showGlobals()
{
    {
        const QSignalBlocker quiet(m_widgets.ScenesTimeSpin);
        m_widgets.ScenesTimeSpin->setValue(m_document.show().sceneTime);
    }
    if (m_widgets.LedsNumberSpin->value() != m_document.show().ledsNumber)
        m_widgets.LedsNumberSpin->setValue(m_document.show().ledsNumber);
}

void ItemCommands::showCurrent(Item item)
{
    {
        const QSignalBlocker quiet(m_form.TabWidget);
        m_form.TabWidget->setCurrentIndex(int(m_document.current().kind));
    }
    QAbstractButton *button = nullptr;
    if (item.kind == ItemKind::ProgramStep) {
        const QSignalBlocker quiet(m_widgets.TabProgramProgram);
        m_widgets.TabProgramProgram->setCurrentIndex(item.number);
        // A program's step buttons are made when its tab is first shown; they check the step
        // chosen then.
        button = m_widgets.stepGroup(item.number)->button(item.step);
    } else {
        button = (item.kind == ItemKind::Scene ? m_widgets.sceneButtons : m_widgets.chaserButtons)
                     ->button(item.number);
    }
    if (button)
        button->setChecked(true);
}

void ItemCommands::setTabActionStates(ItemKind kind)
{
    for (const lm740::ItemKindRow &row : lm740::kindRows())
        for (QAction *Ui_MainWindow::*command : row.commands)
            if (command)
                (m_form.*command)->setEnabled(row.kind == kind);
}

void ItemCommands::changeTab(int index)
{
    if (index < 0 || index >= int(lm740::kindRows().size()))
        return;
    const lm740::ItemKindRow &row = kindRow(ItemKind(index));
    stopSimulations();
    m_document.closeEdit();
    const Navigator::Hold hold(m_navigator);

    // The item left.
    const Item left = m_document.current();
    if (deviceReady()) {
        std::optional<BusyCursor> busy;
        if (kindRow(left.kind).busyWhenLeft)
            busy.emplace();
        writeItem(left, m_document.show().ledsNumber);
    }

    // The item entered.
    row.enterPanel(*m_widgets.scene);
    m_widgets.dockWidget->setPlayMode(row.playsWhenShown ? std::optional(row.kind) : std::nullopt);
    const Item entered = m_document.chosen(row.kind);
    if (deviceReady()) {
        BusyCursor busy;
        readItem(entered, m_document.show().ledsNumber);
        runItem(entered);
    }
    m_document.setCurrent(entered);
    m_navigator.loadPanel();
    setTabActionStates(row.kind);
    qCDebug(lcApp) << "Tabchanged" << m_document.show().actualSceneNumber
                   << m_document.show().actualProgramNumber
                   << m_document.show().actualProgramSceneNumber;
}

void ItemCommands::changeItem(Item entered)
{
    if (!entered.valid())
        return;
    if (kindRow(entered.kind).choosingStops)
        stopSimulations();
    m_document.closeEdit();
    const Navigator::Hold hold(m_navigator);
    // Only the panel of the item's own kind holds one of its items; elsewhere a choice (of a
    // program step by a file load, say) leaves the item shown alone.
    const Item left = m_document.current();
    const bool shown = left.kind == entered.kind;
    if (deviceReady()) {
        BusyCursor busy;
        if (shown) {
            clearOtherLastSteps(left);
            writeItem(left, m_document.show().ledsNumber);
        }
        readItem(entered, m_document.show().ledsNumber);
        runItem(entered);
    }
    qCDebug(lcApp) << "item changed from" << left.number << left.step << "to" << entered.number
                   << entered.step << "ledsnumber" << m_document.show().ledsNumber;
    if (!shown) {
        m_document.choose(entered);
        return;
    }
    m_document.setCurrent(entered);
    m_navigator.loadPanel();
}

void ItemCommands::playNextProgramStep()
{
    const Item next = m_navigator.nextProgramStep();
    qCDebug(lcApp) << "next scene" << next.step << "program " << next.number;
    changeItem(next);
}

void ItemCommands::clearOtherLastSteps(Item marked)
{
    if (!lm740::fieldOf(m_document.show(), marked, lm740::Field::LastStep).value_or(0))
        return;
    qCDebug(lcApp) << "Unchecking last_step";
    for (int i = 0; i < lm740::kProgramSteps; ++i) {
        if (i != marked.step &&
            m_session.setByte(lm740::layout::programStepLastStepAddress(marked.number, i), 0) == -1)
            information("Error", "USB Write Last Step");
    }
}

void ItemCommands::showItem(Item item)
{
    if (!item.valid())
        return;
    if (m_document.current().kind != item.kind)
        changeTab(int(item.kind));
    if (!(m_document.current() == item))
        changeItem(item);
}

void ItemCommands::applyLampCount()
{
    MySpin *box = m_widgets.LedsNumberSpin;
    // A window coming up in front (a lamp's colour dialog, another program) takes the focus from
    // the box without the user leaving it, and gives it back when the user returns: the count
    // typed there is applied then, by Return, OK or leaving the box, not under that window.
    if (!box->isActiveWindow() && box->window()->focusWidget() == box)
        return;
    const int count = std::clamp(box->value(), lm740::kMinLamps, lm740::kMaxLamps);
    qCDebug(lcApp) << "lamp count changed by" << count - m_document.show().ledsNumber;
    m_document.closeEdit();
    const Navigator::Hold hold(m_navigator);
    // Online the controller takes the panel's item first, so that a read with the new count
    // brings only the lamps that were not shown.
    const bool ready = deviceReady();
    const Item item = m_document.current();
    const auto read = std::make_unique<Show>(m_document.show());
    bool fetched = false;
    if (ready) {
        BusyCursor busy;
        writeItem(item, m_document.show().ledsNumber);
        if (count >= m_document.show().ledsNumber)
            fetched = fetchItem(item, count, *read) != -1;
    }
    m_document.change(tr("Change lamp count to %1").arg(count), item, [&](Show &show) {
        kindRow(item.kind).copy(*read, show, item);
        m_document.setGlobals(count, show.sceneTime);
    });
    // What was read is what the controller holds.
    if (fetched)
        m_document.keep(item);
    m_navigator.loadPanel();
    if (ready) {
        BusyCursor busy;
        if (m_session.writeParameter(Parameter::LampCount, char(m_document.show().ledsNumber)) !=
            -1)
            m_document.keepGlobals();
        runItem(item);
    }
}

void ItemCommands::applySceneTime(int seconds)
{
    m_document.setGlobals(m_document.show().ledsNumber, seconds,
                          tr("Change scene time to %1 s").arg(seconds));
    if (deviceReady() && m_session.writeParameter(Parameter::SceneTime, char(seconds)) != -1)
        m_document.keepGlobals();
}

void ItemCommands::markLastStep(bool marked)
{
    const Item item = m_document.current();
    if (item.kind != ItemKind::ProgramStep)
        return;
    m_document.change(marked ? tr("Mark last step") : tr("Clear last step"), item, [&](Show &show) {
        lm740::markLastStep(show.programs[size_t(item.number)], item.step, marked);
    });
}

// ---- one item to and from the controller ----------------------------------------------------

int ItemCommands::writeItem(Item item, int lamps)
{
    const int r = m_session.writeRecord(m_document.show(), item, lamps);
    if (r != -1)
        m_document.keep(item);
    return r;
}

int ItemCommands::fetchItem(Item item, int lamps, Show &into)
{
    return m_session.readRecord(into, item, lamps);
}

int ItemCommands::readItem(Item item, int lamps)
{
    // An undo or redo is bringing its item in. A step made here would be the one undone and
    // would end the redo: what the controller holds is shown without one. Edits of the item that
    // were not kept would be lost without a step, so the window's copy stays; the controller gets
    // it at the next switch.
    if (m_showingStep && m_document.isModified(item))
        return 0;
    const auto read = std::make_unique<Show>(m_document.show());
    const int r = fetchItem(item, lamps, *read);
    const auto store = [&](Show &show) { kindRow(item.kind).copy(*read, show, item); };
    if (!m_showingStep)
        m_document.change(tr("Read %1 from Lm740").arg(kindRow(item.kind).name(item)), item, store);
    else
        m_document.changeWithoutStep(item, store);
    // What was read is what the controller holds.
    if (r != -1)
        m_document.keep(item);
    return r;
}

int ItemCommands::runItem(Item item)
{
    return m_session.run(item);
}

// ---- the current item and the current program ------------------------------------------------

int ItemCommands::readIntoShow(const QString &text, Item shown,
                               const std::function<int(Show &into, int lamps)> &fetch,
                               const std::function<void(const Show &read, Show &show)> &copy)
{
    std::optional<int> sceneTime;
    std::optional<int> lamps;
    const auto read = std::make_unique<Show>(m_document.show());
    int r = -1;
    {
        BusyCursor busy;
        // The scene time box held the value a controller gave, so it came in cut to the box's
        // range.
        const int time = m_session.readParameter(Parameter::SceneTime);
        if (time != -1) {
            sceneTime = std::clamp(time, lm740::kMinSceneTime, lm740::kMaxSceneTime);
            const int count = m_session.readParameter(Parameter::LampCount);
            if (count != -1) {
                lamps = std::clamp(count, lm740::kMinLamps, lm740::kMaxLamps);
                r = fetch(*read, *lamps);
            }
        }
    }
    const Navigator::Hold hold(m_navigator);
    m_document.change(text, shown, [&](Show &show) {
        m_document.setGlobals(lamps.value_or(show.ledsNumber), sceneTime.value_or(show.sceneTime));
        copy(*read, show);
    });
    return r;
}

int ItemCommands::writeCurrent()
{
    m_document.closeEdit();
    if (!m_session.answered())
        return 0;
    BusyCursor busy;
    if (writeItem(m_document.current(), m_document.show().ledsNumber) == -1)
        return -1;
    m_session.sendGlobals();
    return 0;
}

int ItemCommands::readCurrent()
{
    m_document.closeEdit();
    const Item item = m_document.current();
    if (m_session.answered()) {
        if (!m_files->keepOrDiscardEdits({item}, ShowFiles::Globals::Replaced))
            return -1;
        const int r = readIntoShow(
            tr("Read from Lm740"), item,
            [&](Show &into, int lamps) { return fetchItem(item, lamps, into); },
            [&](const Show &read, Show &show) { kindRow(item.kind).copy(read, show, item); });
        if (r == -1)
            return -1;
        m_document.keep(item);
        m_document.keepGlobals();
    }
    m_navigator.loadPanel();
    return 0;
}

int ItemCommands::readCurrentProgram()
{
    qCDebug(lcApp) << "UsbReadActualProgram";
    m_document.closeEdit();
    const int program = m_document.chosen(ItemKind::ProgramStep).number;
    if (m_session.answered()) {
        std::vector<Item> steps;
        for (int step = 0; step < lm740::kProgramSteps; ++step)
            steps.push_back(Item::programStep(program, step));
        if (!m_files->keepOrDiscardEdits(steps, ShowFiles::Globals::Replaced))
            return -1;
        const auto record = [program](auto &show) -> auto &
        {
            return show.programs[size_t(program)];
        };
        const int r = readIntoShow(
            tr("Read Program %1 from Lm740").arg(program + 1),
            m_document.chosen(ItemKind::ProgramStep),
            [&](Show &into, int lamps) {
                return m_session.readProgram(&record(into), program, lamps);
            },
            [&](const Show &read, Show &show) { record(show) = record(read); });
        if (r == -1)
            return -1;
        for (const Item &step : steps)
            m_document.keep(step);
        m_document.keepGlobals();
    }
    // Only the Programs page's panel shows a step; elsewhere the program is read into the show
    // and the scene or chaser in the panel stays.
    if (m_document.current().kind == ItemKind::ProgramStep)
        m_navigator.loadPanel();
    return 0;
}

int ItemCommands::writeCurrentProgram()
{
    qCDebug(lcApp) << "UsbWriteActualProgram";
    m_document.closeEdit();
    if (!m_session.answered())
        return 0;
    const int program = m_document.chosen(ItemKind::ProgramStep).number;
    qCDebug(lcApp) << "Writing Program: " << program;
    BusyCursor busy;
    if (m_session.writeProgram(&m_document.show().programs[size_t(program)], program,
                               m_document.show().ledsNumber) == -1)
        return -1;
    for (int step = 0; step < lm740::kProgramSteps; ++step)
        m_document.keep(Item::programStep(program, step));
    m_session.sendGlobals();
    return 0;
}

void ItemCommands::confirmTransfers(DesktopState &desktop)
{
    // The current-item commands return -1 after their own error box; offline (no controller
    // found by the last poll) they move nothing and say so here.
    auto wire = [this, &desktop](QAction *action, int (ItemCommands::*command)(), bool write,
                                 bool wholeProgram) {
        connect(action, &QAction::triggered, this, [=, this, &desktop] {
            const bool connected = m_session.answered();
            if ((this->*command)() == -1)
                return;
            if (!connected) {
                desktop.confirm(write ? app(QT_TRANSLATE_NOOP("App", "Nothing written: no Lm740 is "
                                                                     "connected"))
                                      : app(QT_TRANSLATE_NOOP("App", "Nothing read: no Lm740 is "
                                                                     "connected")));
                return;
            }
            desktop.confirm((write ? app(QT_TRANSLATE_NOOP("App", "%1 written to the Lm740"))
                                   : app(QT_TRANSLATE_NOOP("App", "%1 read from the Lm740")))
                                .arg(currentItemName(wholeProgram)));
        });
    };
    wire(m_form.actionWrite_Settings, &ItemCommands::writeCurrent, true, false);
    wire(m_form.actionRead_Settings, &ItemCommands::readCurrent, false, false);
    wire(m_form.actionWrite_Current_Program, &ItemCommands::writeCurrentProgram, true, true);
    wire(m_form.actionRead_Current_Program, &ItemCommands::readCurrentProgram, false, true);

    connect(m_form.actionRun_Program, &QAction::triggered, this, [this, &desktop] {
        desktop.confirm(app(QT_TRANSLATE_NOOP("App", "Program %1 playing on the preview strip"))
                            .arg(m_document.show().actualProgramNumber + 1));
    });
    connect(m_form.actionStop_Program, &QAction::triggered, this,
            [&desktop] { desktop.confirm(app(QT_TRANSLATE_NOOP("App", "Program stopped"))); });
}

QString ItemCommands::currentItemName(bool wholeProgram) const
{
    if (wholeProgram)
        return app(QT_TRANSLATE_NOOP("App", "Program %1"))
            .arg(m_document.chosen(ItemKind::ProgramStep).number + 1);
    const Item item = m_document.current();
    return kindRow(item.kind).name(item);
}

// ---- online mode ------------------------------------------------------------------------------

void ItemCommands::setOnline(bool on)
{
    qCDebug(lcUsb) << "t: " << on;
    m_session.poll();
    if (!on) {
        m_session.setOnline(false);
        m_form.actionOnline->setEnabled(true);
        return;
    }
    if (m_session.answered()) {
        // The controller's copy of the item shown, its lamp count and its scene time replace the
        // window's. Over edits of them that were not kept that is the question every read over
        // edits asks; otherwise the one that says what going online does.
        const std::vector<Item> replaced{m_document.current()};
        bool goOn = false;
        if (m_files->editsUnkept(replaced, ShowFiles::Globals::Replaced)) {
            goOn = m_files->keepOrDiscardEdits(replaced, ShowFiles::Globals::Replaced);
        } else {
            const QMessageBox::StandardButton answer = lm740::prompts().warning(
                &m_window, tr("MainWindow"),
                tr("Actual scene, chaser or program step settings in apllication will be "
                   "overwritten.\nDo you want enter in online mode?"),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
            qCDebug(lcUsb) << Qt::hex << int(answer);
            goOn = answer == QMessageBox::Yes;
        }
        if (!goOn) {
            m_form.actionOnline->setChecked(false);
            return;
        }
    }
    m_session.setOnline(true);
    m_form.actionOnline->setEnabled(true);
    // Without the controller the window waits, online, until a poll finds it again.
    if (m_session.answered())
        followController(tr("Go online"));
}

void ItemCommands::followController(const QString &stepName)
{
    int lamps = m_session.readParameter(Parameter::LampCount);
    if (lamps == -1) {
        information("Read error", QT_TRANSLATE_NOOP("App", "Nie mozna pobrac liczby lamp z Lm740"));
        return;
    }
    qCDebug(lcUsb) << "Lm740 Lamps Number:" << lamps;
    if (lamps > lm740::kMaxLamps)
        lamps = lm740::kDefaultLamps;
    lamps = std::max(lamps, lm740::kMinLamps);
    const int time = m_session.readParameter(Parameter::SceneTime);
    if (time == -1) {
        information("Read error", QT_TRANSLATE_NOOP("App", "Nie mozna pobrac czasu sceny z Lm740"));
        return;
    }
    qCDebug(lcUsb) << "Lm740 GlobalSceneTime" << time;
    const Item item = m_document.current();
    const auto read = std::make_unique<Show>(m_document.show());
    const int r = readOnlineItem(item, lamps, *read);
    // The question said it: what the window shows gives way to the controller's show, so the
    // count is applied to the records as they stand and nothing goes back to the controller. What
    // the controller gave is one step, and counts as kept.
    const Navigator::Hold hold(m_navigator);
    m_document.change(stepName, item, [&](Show &show) {
        m_document.setGlobals(lamps, time);
        kindRow(item.kind).copy(*read, show, item);
    });
    m_form.actionOnline->setChecked(true);
    m_navigator.loadPanel();
    m_document.keepGlobals();
    if (r == 0)
        m_document.keep(item);
}

int ItemCommands::readOnlineItem(Item item, int lamps, Show &into)
{
    const lm740::ItemKindRow &row = kindRow(item.kind);
    if (row.pollBeforeOnlineRead && !m_session.poll())
        return -1;
    qCDebug(lcUsb) << "USB_ONLINE: start reading" << row.name(item);
    BusyCursor busy;
    const int r = fetchItem(item, lamps, into);
    qCDebug(lcUsb) << "USB_ONLINE: stop reading" << row.name(item);
    runItem(item);
    return r;
}

void ItemCommands::restore(const Show &recovered)
{
    const Item shown = Item::current(recovered, m_document.current().kind);
    {
        const Navigator::Hold hold(m_navigator);
        m_document.change(tr("Restore the recovered show"), m_document.current(), [&](Show &show) {
            show.sceneColors = recovered.sceneColors;
            show.chasers = recovered.chasers;
            show.programs = recovered.programs;
            m_document.setGlobals(recovered.ledsNumber, recovered.sceneTime);
        });
        m_navigator.loadPanel();
    }
    showItem(shown);
}
