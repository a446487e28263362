#include "pattern_bake.h"

#include <algorithm>

namespace lm740 {

namespace {

bool refuse(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

std::vector<int> fitSteps(int stepCount, int room, Fit fit)
{
    std::vector<int> steps;
    if (stepCount <= 0 || room <= 0)
        return steps;
    const int taken = std::min(stepCount, room);
    for (int i = 0; i < taken; ++i)
        steps.push_back(fit == Fit::Cut || stepCount <= room ? i
                                                             : int(qint64(i) * stepCount / room));
    return steps;
}

void paintFrame(const PatternFrames &frames, int frame, const Layout &layout, int lamps,
                const QList<int> &only, ColorArray &colors)
{
    lamps = std::min(boundedLampCount(lamps), layout.lampCount());
    for (int lamp = 0; lamp < lamps; ++lamp) {
        const auto cell = layout.cellOf(lamp);
        if (!cell || cell->x() >= frames.width || cell->y() >= frames.height)
            continue;
        if (!only.isEmpty() && !only.contains(lamp))
            continue;
        colors[lamp] = QColor::fromRgb(frames.at(frame, *cell) | 0xFF000000u);
    }
}

bool bakePattern(Show &show, const PatternFrames &frames, const Layout &layout,
                 const BakeTarget &target, BakeOutcome *outcome, QString *error)
{
    const int count = int(frames.frames.size());
    if (count == 0)
        return refuse(error, QStringLiteral("The pattern drew no frame."));
    for (const auto &frame : frames.frames)
        if (qsizetype(frame.size()) != qsizetype(frames.width) * frames.height)
            return refuse(error, QStringLiteral("A frame of the pattern is not %1 x %2 cells.")
                                     .arg(frames.width)
                                     .arg(frames.height));
    BakeOutcome done;
    const int lamps = show.ledsNumber;
    using Into = BakeTarget::Into;
    const int items = target.into == Into::Scene    ? kSceneCount
                      : target.into == Into::Chaser ? kChaserCount
                                                    : kProgramCount;
    if (target.number < 0 || target.number >= items)
        return refuse(error, QStringLiteral("There is no item %1 to bake into; there are %2.")
                                 .arg(target.number + 1)
                                 .arg(items));

    if (target.into != Into::Program) {
        if (target.frame < 0 || target.frame >= count)
            return refuse(error, QStringLiteral("The pattern has no frame %1; it has %2.")
                                     .arg(target.frame + 1)
                                     .arg(count));
        ColorArray &colors = target.into == Into::Scene ? show.sceneColors[target.number]
                                                        : show.chasers[target.number].colors;
        paintFrame(frames, target.frame, layout, lamps, target.lamps, colors);
        if (outcome)
            *outcome = done;
        return true;
    }

    if (target.firstStep < 0 || target.firstStep >= kProgramSteps)
        return refuse(error, QStringLiteral("A program's steps are 1 to %1, not %2.")
                                 .arg(kProgramSteps)
                                 .arg(target.firstStep + 1));
    if (target.stepTime < 0 || target.stepTime > kMaxItemTimeMs)
        return refuse(error, QStringLiteral("A step time is 0 to %1 ms, not %2.")
                                 .arg(kMaxItemTimeMs)
                                 .arg(target.stepTime));
    if (target.xfade < 0 || target.xfade > 100)
        return refuse(error,
                      QStringLiteral("A cross-fade is 0 to 100 %, not %1.").arg(target.xfade));

    // The frames may already be the ones chosen to fit (the engine draws only those); any more
    // than fit are fitted here the same way.
    const std::vector<int> chosen = fitSteps(count, kProgramSteps - target.firstStep, target.fit);
    t_program &program = show.programs[target.number];
    for (int i = 0; i < int(chosen.size()); ++i) {
        t_program_scene &step = program.scenes[target.firstStep + i];
        paintFrame(frames, chosen[i], layout, lamps, target.lamps, step.colors);
        step.scene_time = quint32(target.stepTime);
        step.scene_xfade = quint8(target.xfade);
    }
    done.firstStep = target.firstStep;
    done.lastStep = target.firstStep + int(chosen.size()) - 1;
    markLastStep(program, done.lastStep, true);
    if (std::max(count, frames.stepCount) > int(chosen.size()))
        done.fitted =
            target.fit == Fit::Cut ? BakeOutcome::Fitted::Cut : BakeOutcome::Fitted::Sampled;
    if (outcome)
        *outcome = done;
    return true;
}

} // namespace lm740
