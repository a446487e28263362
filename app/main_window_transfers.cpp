// What writing, reading and running one item of the show means, and the four commands that move
// the item the editor shows, or the whole current program, between the show and the controller.
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

// ---- one item ----------------------------------------------------------------------------

int MainWindow::writeItem(Item item, int lamps)
{
    const int r = m_session->writeRecord(document.show(), item, lamps);
    if (r != -1)
        document.keep(item);
    return r;
}

int MainWindow::fetchItem(Item item, int lamps, lm740::Show &into)
{
    return m_session->readRecord(into, item, lamps);
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
    return m_session->run(item);
}

// ---- the current item ----------------------------------------------------------------------

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
    if (!m_session->answered())
        return 0;
    BusyCursor busy;
    if (writeItem(document.current(), document.show().ledsNumber) == -1)
        return -1;
    m_session->sendGlobals();
    return 0;
}

int MainWindow::UsbReadActualSetting(bool)
{
    document.closeEdit();
    const Item item = document.current();
    if (m_session->answered() && !m_files->keepOrDiscardEdits({item}, ShowFiles::Globals::Replaced))
        return -1;
    if (m_session->answered()) {
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
    if (m_session->answered()) {
        std::vector<Item> steps;
        for (int step = 0; step < lm740::kProgramSteps; ++step)
            steps.push_back(Item::programStep(program, step));
        if (!m_files->keepOrDiscardEdits(steps, ShowFiles::Globals::Replaced))
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
    if (!m_session->answered())
        return 0;
    const int program = document.chosen(ItemKind::ProgramStep).number;
    qCDebug(lcApp) << "Writing Program: " << program;
    BusyCursor busy;
    if (UsbWriteProgram(&document.show().programs[size_t(program)], program,
                        document.show().ledsNumber) == -1)
        return -1;
    for (int step = 0; step < lm740::kProgramSteps; ++step)
        document.keep(Item::programStep(program, step));
    m_session->sendGlobals();
    return 0;
}
