// The chaser and program simulations on the preview strip, as the window's slots: the navigator
// plays them from the records, and the strip's clock says when an item's time has run out.
#include "main_window.h"

#include "logging.h"
#include "navigator.h"

void MainWindow::start_program_simulation(bool)
{
    navigator->startProgram();
}

void MainWindow::stop_program_simulation(bool)
{
    navigator->stop(lm740::ItemKind::ProgramStep);
}

void MainWindow::next_programscene()
{
    const lm740::Item next = navigator->nextProgramStep();
    qCDebug(lcApp) << "next scene" << next.step << "program " << next.number;
    // The switch is the one a click on the step's button makes.
    changeItem(next);
}

void MainWindow::start_chaser_simulation(bool)
{
    navigator->startChaser();
}

void MainWindow::stop_chaser_simulation(bool)
{
    navigator->stop(lm740::ItemKind::Chaser);
}

void MainWindow::next_step_chaser()
{
    navigator->nextChaserStep();
}
