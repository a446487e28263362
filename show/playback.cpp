#include "playback.h"

#include <algorithm>

namespace lm740::playback {

namespace {

int fadeChannel(int from, int to, quint32 elapsed, quint32 fade)
{
    // 64 bits: a long step read from a file or the controller must not overflow the product.
    const qint64 moved = qint64(to - from) * qint64(elapsed) / (qint64(fade) + 1);
    return (from + int(moved)) & 0xFF;
}

} // namespace

QColor fadeColor(const QColor &from, const QColor &to, quint32 elapsed, quint32 fade)
{
    if (elapsed > fade)
        return QColor(to.red(), to.green(), to.blue());
    return QColor(fadeChannel(from.red(), to.red(), elapsed, fade),
                  fadeChannel(from.green(), to.green(), elapsed, fade),
                  fadeChannel(from.blue(), to.blue(), elapsed, fade));
}

int nextProgramStep(const t_program &program, int step)
{
    if (step < 0 || step + 1 >= kProgramSteps || program.scenes[std::size_t(step)].scene_laststep)
        return 0;
    return step + 1;
}

void rotateChaser(ColorArray &colors, int lamps, int direction)
{
    lamps = boundedLampCount(lamps);
    if (lamps < 2)
        return;
    if (direction == 1)
        std::rotate(colors.begin(), colors.begin() + 1, colors.begin() + lamps);
    else
        std::rotate(colors.begin(), colors.begin() + lamps - 1, colors.begin() + lamps);
}

} // namespace lm740::playback
