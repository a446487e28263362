// The chaser and program simulations on the preview strip: the strip's clock says when an item's
// time has run out, and these slots move the chaser one lamp on or the program to its next step.
#include "main_window.h"

#include "logging.h"
#include "my_dock_widget.h"
#include "my_frame.h"
#include "playback.h"

#include <QAbstractButton>
#include <QButtonGroup>

void MainWindow::start_program_simulation(bool)
{
    dockWidget->setPlayMode(2);
    const t_program_scene &step = programs[actualProgramNumber].scenes[actualProgramSceneNumber];
    qCDebug(lcApp) << "single shot" << step.scene_time;
    startPreview(scene->getSceneTime(), scene->getScenexFade(), step.colors);
}

void MainWindow::stop_program_simulation(bool)
{
    dockWidget->setPlayMode(0);
}

void MainWindow::next_programscene()
{
    const int next =
        lm740::playback::nextProgramStep(programs[actualProgramNumber], actualProgramSceneNumber);
    qCDebug(lcApp) << "next scene" << next << "program " << actualProgramNumber;
    // The click goes through the step's button, so the switch is the one a user's click makes.
    if (QAbstractButton *b = programSteps(actualProgramNumber)->button(next))
        b->click();
}

void MainWindow::start_chaser_simulation(bool)
{
    for (int i = 0; i < ledsNumber; ++i)
        chaserSimColors[i] = scene->chaserCell(i)->frameColor();
    startPreview(scene->getSceneTime(), scene->getScenexFade(), chaserSimColors);
}

void MainWindow::stop_chaser_simulation(bool)
{
    // The program's stop, always called beside this one, puts the strip back to preview.
}

void MainWindow::next_step_chaser()
{
    lm740::playback::rotateChaser(chaserSimColors, ledsNumber, scene->getDirection());
    startPreview(scene->getSceneTime(), scene->getScenexFade(), chaserSimColors);
}
