#include "sim_player.h"

#include "chaser_pattern.h"
#include "playback.h"

#include <algorithm>

namespace lm740 {

using playback::kTickMs;

namespace {

bool overlaps(int address, int length, int start, int size)
{
    return address < start + size && start < address + length;
}

int sceneTimeMs(layout::ConstImage memory)
{
    return std::clamp(int(memory[layout::kInSceneTime]), kMinSceneTime, kMaxSceneTime) * 1000;
}

} // namespace

int memoryLampCount(layout::ConstImage memory)
{
    const int lamps = memory[layout::kLampsNumber];
    return lamps > kMaxLamps ? kDefaultLamps : lamps;
}

SimPlayer::SimPlayer() : m_program(std::make_unique<t_program>())
{
    setLampsBlack(m_from);
    setLampsBlack(m_to);
    setLampsBlack(m_frame);
}

SimPlayer::~SimPlayer() = default;

bool SimPlayer::run(layout::ConstImage memory, Item item, int number)
{
    const bool valid = item == Item::Scene     ? layout::isScene(number)
                       : item == Item::Chaser  ? layout::isChaser(number)
                       : item == Item::Program ? layout::isProgram(number)
                                               : number == 0;
    if (!valid || memory.size() != std::size_t(layout::kImageSize))
        return false;
    m_item = item;
    m_number = number;
    m_step = 0;
    m_stale = false;
    m_lamps = memoryLampCount(memory);
    switch (item) {
    case Item::Scene: {
        ColorArray colors;
        layout::unpackScene(memory, number, colors, kMaxLamps);
        startFade(quint32(sceneTimeMs(memory)), 100, colors);
        break;
    }
    case Item::Chaser: {
        auto chaser = std::make_unique<t_chaser>();
        layout::unpackChaser(memory, number, *chaser, kMaxLamps);
        m_frame = chaser->colors;
        chaserPattern(chaser->colors.data(), m_lamps, chaser->pattern_len, chaser->repeat_number,
                      m_frame.data());
        startFade(chaser->time, chaser->xfade, m_frame);
        break;
    }
    case Item::Program:
        startStep(memory);
        break;
    case Item::Blackout:
        // Black at once, not faded to.
        setLampsBlack(m_from);
        setLampsBlack(m_to);
        m_elapsed = m_total = m_fade = 0;
        break;
    }
    return true;
}

void SimPlayer::startFade(quint32 total, quint32 xfadePercent, const ColorArray &colors)
{
    m_from = m_to;
    m_to = colors;
    m_elapsed = 0;
    m_total = total;
    m_fade = playback::fadeTime(total, xfadePercent);
}

void SimPlayer::startStep(layout::ConstImage memory)
{
    t_program_scene &step = m_program->scenes[std::size_t(m_step)];
    layout::unpackProgramStep(memory, m_number, m_step, step, kMaxLamps);
    startFade(step.scene_time, step.scene_xfade, step.colors);
}

void SimPlayer::nextItem(layout::ConstImage memory)
{
    m_lamps = memoryLampCount(memory);
    if (m_item == Item::Program) {
        m_step = playback::nextProgramStep(*m_program, m_step);
        startStep(memory);
        return;
    }
    // A chaser takes its time, cross-fade and direction from memory at every step; its colours
    // only when it is run again.
    auto chaser = std::make_unique<t_chaser>();
    layout::unpackChaser(memory, m_number, *chaser, 0);
    playback::rotateChaser(m_frame, m_lamps, chaser->direction);
    startFade(chaser->time, chaser->xfade, m_frame);
}

void SimPlayer::reread(layout::ConstImage memory)
{
    m_stale = false;
    ++m_rereads;
    m_lamps = memoryLampCount(memory);
    if (m_item == Item::Scene) {
        layout::unpackScene(memory, m_number, m_to, kMaxLamps);
    } else if (m_item == Item::Program) {
        t_program_scene &step = m_program->scenes[std::size_t(m_step)];
        layout::unpackProgramStep(memory, m_number, m_step, step, kMaxLamps);
        m_to = step.colors;
    }
}

bool SimPlayer::tick(layout::ConstImage memory)
{
    if (memory.size() != std::size_t(layout::kImageSize))
        return false;
    bool changed = m_stale;
    if (m_stale)
        reread(memory);
    const bool timed = m_item == Item::Chaser || m_item == Item::Program;
    if (!timed && m_elapsed > m_fade)
        return changed; // at rest: nothing to count
    const quint32 before = m_elapsed;
    m_elapsed += kTickMs;
    // The picture moves while the fade runs, and once more when it reaches its target.
    changed = changed || before <= m_fade;
    if (timed && playback::itemEnded(m_elapsed, m_total)) {
        nextItem(memory);
        changed = true;
    }
    return changed;
}

void SimPlayer::advance(layout::ConstImage memory, qint64 ms)
{
    const qint64 ticks = std::min<qint64>(ms / kTickMs, kMaxCatchUpTicks);
    for (qint64 i = 0; i < ticks && (moving() || m_stale); ++i)
        tick(memory);
}

void SimPlayer::memoryWritten(int address, int length)
{
    if (overlaps(address, length, layout::kLampsNumber, 1))
        m_stale = true;
    else if (m_item == Item::Scene)
        m_stale = m_stale ||
                  overlaps(address, length, layout::sceneAddress(m_number), layout::kSceneSize);
    else if (m_item == Item::Program)
        m_stale = m_stale ||
                  overlaps(address, length, layout::programStepLampAddress(m_number, m_step, 0),
                           layout::kColorsSize);
}

bool SimPlayer::takeWrites(layout::ConstImage memory)
{
    if (!m_stale || memory.size() != std::size_t(layout::kImageSize))
        return false;
    reread(memory);
    return true;
}

bool SimPlayer::moving() const
{
    return m_item == Item::Chaser || m_item == Item::Program || m_elapsed <= m_fade;
}

QColor SimPlayer::color(int lamp) const
{
    if (lamp < 0 || lamp >= m_lamps)
        return QColor(Qt::black);
    return playback::fadeColor(m_from[std::size_t(lamp)], m_to[std::size_t(lamp)], m_elapsed,
                               m_fade);
}

} // namespace lm740
