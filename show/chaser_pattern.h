// The starting frame of a chaser: the first lamps form a pattern that is laid down again and again
// from lamp 0 onwards; lamps the repeated pattern does not reach keep their own colours.
#pragma once

#include <QColor>

namespace lm740 {

// Which lamp's colour lamp `position` shows in the starting frame of a chaser with `lampCount`
// lamps, pattern length `patternLen` and `repeat` repetitions. Never outside 0..lampCount-1 for a
// position inside it; a pattern of 0 lamps, or a position the pattern does not reach, maps to
// itself.
constexpr int chaserSourceLamp(int position, int lampCount, int patternLen, int repeat)
{
    if (position < 0 || position >= lampCount || patternLen <= 0 || repeat <= 0)
        return position;
    // Compared in 64 bits: callers may hand in anything, and repeat x length must not wrap.
    if (static_cast<long long>(position) >= static_cast<long long>(repeat) * patternLen)
        return position;
    return position % patternLen;
}

// Fills preview[0..lampCount-1] with the starting frame computed from colors[0..lampCount-1].
// `preview` and `colors` must not overlap.
void chaserPattern(const QColor *colors, int lampCount, int patternLen, int repeat,
                   QColor *preview);

} // namespace lm740
