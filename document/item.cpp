#include "item.h"

namespace lm740 {

Item Item::current(const Show &show, ItemKind kind)
{
    switch (kind) {
    case ItemKind::Chaser:
        return chaser(show.actualChaserNumber);
    case ItemKind::ProgramStep:
        return programStep(show.actualProgramNumber, show.actualProgramSceneNumber);
    case ItemKind::Scene:
        break;
    }
    return scene(show.actualSceneNumber);
}

void choose(Show &show, Item item)
{
    switch (item.kind) {
    case ItemKind::Scene:
        show.actualSceneNumber = item.number;
        break;
    case ItemKind::Chaser:
        show.actualChaserNumber = item.number;
        break;
    case ItemKind::ProgramStep:
        show.actualProgramNumber = item.number;
        show.actualProgramSceneNumber = item.step;
        break;
    }
}

bool Item::valid() const
{
    switch (kind) {
    case ItemKind::Scene:
        return number >= 0 && number < kSceneCount && step == 0;
    case ItemKind::Chaser:
        return number >= 0 && number < kChaserCount && step == 0;
    case ItemKind::ProgramStep:
        return number >= 0 && number < kProgramCount && step >= 0 && step < kProgramSteps;
    }
    return false;
}

bool Item::has(Field f) const
{
    switch (kind) {
    case ItemKind::Scene:
        return false;
    case ItemKind::Chaser:
        return f != Field::LastStep;
    case ItemKind::ProgramStep:
        return f == Field::Time || f == Field::Xfade || f == Field::LastStep;
    }
    return false;
}

ColorArray &colorsOf(Show &show, Item item)
{
    return const_cast<ColorArray &>(colorsOf(std::as_const(show), item));
}

const ColorArray &colorsOf(const Show &show, Item item)
{
    switch (item.kind) {
    case ItemKind::Chaser:
        return show.chasers[size_t(item.number)].colors;
    case ItemKind::ProgramStep:
        return show.programs[size_t(item.number)].scenes[size_t(item.step)].colors;
    case ItemKind::Scene:
        break;
    }
    return show.sceneColors[size_t(item.number)];
}

std::optional<int> fieldOf(const Show &show, Item item, Field f)
{
    if (!item.has(f))
        return std::nullopt;
    if (item.kind == ItemKind::Chaser) {
        const t_chaser &c = show.chasers[size_t(item.number)];
        switch (f) {
        case Field::Time:
            return int(c.time);
        case Field::Xfade:
            return c.xfade;
        case Field::Direction:
            return c.direction;
        case Field::Pattern:
            return c.pattern_len;
        case Field::Repeat:
            return c.repeat_number;
        case Field::LastStep:
            break;
        }
        return std::nullopt;
    }
    const t_program_scene &s = show.programs[size_t(item.number)].scenes[size_t(item.step)];
    switch (f) {
    case Field::Time:
        return int(s.scene_time);
    case Field::Xfade:
        return s.scene_xfade;
    case Field::LastStep:
        return s.scene_laststep;
    default:
        return std::nullopt;
    }
}

void setField(Show &show, Item item, Field f, int value)
{
    if (!item.has(f))
        return;
    if (item.kind == ItemKind::Chaser) {
        t_chaser &c = show.chasers[size_t(item.number)];
        switch (f) {
        case Field::Time:
            c.time = quint32(value);
            break;
        case Field::Xfade:
            c.xfade = quint8(value);
            break;
        case Field::Direction:
            c.direction = quint8(value);
            break;
        case Field::Pattern:
            c.pattern_len = quint8(value);
            break;
        case Field::Repeat:
            c.repeat_number = quint8(value);
            break;
        case Field::LastStep:
            break;
        }
        return;
    }
    t_program_scene &s = show.programs[size_t(item.number)].scenes[size_t(item.step)];
    switch (f) {
    case Field::Time:
        s.scene_time = quint32(value);
        break;
    case Field::Xfade:
        s.scene_xfade = quint8(value);
        break;
    case Field::LastStep:
        s.scene_laststep = quint8(value);
        break;
    default:
        break;
    }
}

} // namespace lm740
