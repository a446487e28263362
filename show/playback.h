// The arithmetic of the preview strip and the simulations, free of widgets: the colour of a lamp
// at a moment of a cross-fade, when an item's time has run out, the step a program goes to next
// and the chaser's one-lamp rotation.
#pragma once

#include "show.h"

#include <QColor>

namespace lm740::playback {

// The strip's clock: it advances this many nominal milliseconds per tick.
inline constexpr quint32 kTickMs = 30;

// Length of the cross-fade of an item of `total` ms at `xfadePercent` percent (remainder dropped).
constexpr quint32 fadeTime(quint32 total, quint32 xfadePercent)
{
    return total * xfadePercent / 100;
}

// An item has ended at the first tick whose elapsed time is beyond the item's time.
constexpr bool itemEnded(quint32 elapsed, quint32 total)
{
    return elapsed > total;
}

// Ticks from a start until an item of `total` ms ends.
constexpr quint32 ticksUntilEnd(quint32 total)
{
    return total / kTickMs + 1;
}

// The colour shown `elapsed` ms into a fade of `fade` ms from `from` to `to`: each channel moves
// in proportion, truncated toward zero; once the fade is over the target is shown.
QColor fadeColor(const QColor &from, const QColor &to, quint32 elapsed, quint32 fade);

// The step a program plays after `step`: the next one, or step 0 after step 30 or after a step
// marked as the last.
int nextProgramStep(const t_program &program, int step);

// Moves the chaser's colours one lamp on within lamps 0..lamps-1: direction 1 (Left) takes each
// lamp's colour from its right-hand neighbour, any other direction from its left-hand one.
void rotateChaser(ColorArray &colors, int lamps, int direction);

} // namespace lm740::playback
