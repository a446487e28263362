// A pattern's frames put into the show through a layout: each lamp takes the colour of its cell.
// Pure functions over the records, so that the window (as one undoable step) and lm740ctl (on a
// copy of a file) bake the same pattern into the same bytes.
#pragma once

#include "layout.h"
#include "show.h"

#include <QList>
#include <QRgb>
#include <QString>

#include <vector>

namespace lm740 {

// The frames a pattern script drew, each `width` x `height` colours row by row.
struct PatternFrames
{
    int width = 0;
    int height = 0;
    int stepCount = 0;      // how many steps the script has in all
    std::vector<int> steps; // which of the script's steps each frame is
    std::vector<std::vector<QRgb>> frames;

    // The colour of a cell of a frame; the cell must be inside the grid.
    QRgb at(int frame, QPoint cell) const { return frames[frame][cell.y() * width + cell.x()]; }
};

// What to do with a script that has more steps than a program has room for.
enum class Fit { Sample, Cut };

// The script's steps to take when `room` steps are free: all of them when they fit; otherwise
// `room` of them spread evenly from the first (Sample), or the first `room` (Cut).
std::vector<int> fitSteps(int stepCount, int room, Fit fit);

struct BakeTarget
{
    enum class Into { Scene, Chaser, Program };
    Into into = Into::Scene;
    int number = 0; // the scene, chaser or program, from 0
    int frame = 0;  // scene and chaser: which of the frames
    // Program: the frames go into steps from firstStep on, each with this time and cross-fade;
    // the last of them is marked as the last step.
    int firstStep = 0;
    int stepTime = 1000; // ms
    int xfade = 100;     // percent of the step time
    Fit fit = Fit::Sample;
    // Only these lamps (from 0), as a selection in the editor; empty for every lamp.
    QList<int> lamps;
};

struct BakeOutcome
{
    int firstStep = 0; // program: the steps written
    int lastStep = 0;
    // How the script's steps were fitted into the program: all of them, or sampled or cut to fit.
    enum class Fitted { All, Sampled, Cut };
    Fitted fitted = Fitted::All;
};

// Paints frame `frame` onto `colors`: each lamp below `lamps` that the layout places on a cell of
// the frame (and that `only` holds, unless it is empty) takes that cell's colour; every other lamp
// keeps its own.
void paintFrame(const PatternFrames &frames, int frame, const Layout &layout, int lamps,
                const QList<int> &only, ColorArray &colors);

// Bakes the frames into `show` for its lamp count. False with *error set, and the show untouched,
// when the target is outside the show or there is no frame to bake.
bool bakePattern(Show &show, const PatternFrames &frames, const Layout &layout,
                 const BakeTarget &target, BakeOutcome *outcome = nullptr,
                 QString *error = nullptr);

} // namespace lm740
