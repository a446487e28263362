#include "show.h"

namespace lm740 {

void setLampsBlack(ColorArray &colors)
{
    for (int i = 0; i < kMaxLamps; ++i)
        colors[i] = QColor(0, 0, 0);
}

void setDefaults(t_chaser &chaser)
{
    chaser.time = 1000;
    chaser.xfade = 100;
    chaser.direction = 1;
    chaser.pattern_len = 1;
    chaser.repeat_number = 1;
    setLampsBlack(chaser.colors);
}

void setDefaults(t_program_scene &step)
{
    step.scene_time = 1000;
    step.scene_xfade = 100;
    step.scene_laststep = 0;
    setLampsBlack(step.colors);
}

void setDefaults(t_program &program)
{
    for (t_program_scene &step : program.scenes)
        setDefaults(step);
}

void markLastStep(t_program &program, int step, bool last)
{
    for (t_program_scene &s : program.scenes)
        s.scene_laststep = 0;
    if (step >= 0 && step < kProgramSteps)
        program.scenes[step].scene_laststep = last ? 1 : 0;
}

void Show::setShowDefaults()
{
    for (ColorArray &scene : sceneColors)
        setLampsBlack(scene);
    for (t_chaser &chaser : chasers)
        setDefaults(chaser);
    for (t_program &program : programs)
        setDefaults(program);
}

} // namespace lm740
