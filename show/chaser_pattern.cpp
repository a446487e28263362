#include "chaser_pattern.h"

namespace lm740 {

void chaserPattern(const QColor *colors, int lampCount, int patternLen, int repeat, QColor *preview)
{
    for (int i = 0; i < lampCount; ++i)
        preview[i] = colors[chaserSourceLamp(i, lampCount, patternLen, repeat)];
}

} // namespace lm740
