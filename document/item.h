// One item of the show, named by its kind, its number and (for a program) its step, with what its
// fields are and where its record lives. The editor shows one item at a time; transfers, files,
// undo steps and the preview all name an item this way.
#pragma once

#include "show.h"

#include <QMetaType>

#include <array>
#include <optional>

namespace lm740 {

// The kinds in the order of the window's tabs.
enum class ItemKind { Scene = 0, Chaser = 1, ProgramStep = 2 };

// An item's values besides its colours.
enum class Field { Time, Xfade, Direction, Pattern, Repeat, LastStep };
inline constexpr std::array<Field, 6> kFields{Field::Time,    Field::Xfade,  Field::Direction,
                                              Field::Pattern, Field::Repeat, Field::LastStep};

struct Item
{
    ItemKind kind = ItemKind::Scene;
    int number = 0;
    int step = 0; // program steps only; 0 otherwise

    static constexpr Item scene(int n) { return {ItemKind::Scene, n, 0}; }
    static constexpr Item chaser(int n) { return {ItemKind::Chaser, n, 0}; }
    static constexpr Item programStep(int program, int step)
    {
        return {ItemKind::ProgramStep, program, step};
    }
    // The item of `kind` that `show`'s selection names.
    static Item current(const Show &show, ItemKind kind);

    bool operator==(const Item &) const = default;
    // Its number and step are within the show.
    bool valid() const;
    // The scene's time is the show's global scene time, so a scene has no fields of its own.
    bool has(Field f) const;
};

// Makes `item` the show's selection of its kind.
void choose(Show &show, Item item);

// The colours of an item's record; the item must be valid.
ColorArray &colorsOf(Show &show, Item item);
const ColorArray &colorsOf(const Show &show, Item item);
// A field of the item's record, or nothing when the item has no such field.
std::optional<int> fieldOf(const Show &show, Item item, Field f);
// Stores a field (cut to the record's width, as the records store it); no-op without the field.
void setField(Show &show, Item item, Field f, int value);

// Calls f(item) for every item of the show: the scenes, the chasers, every step of every program.
template <class F> void forEachItem(F &&f)
{
    for (int s = 0; s < kSceneCount; ++s)
        f(Item::scene(s));
    for (int c = 0; c < kChaserCount; ++c)
        f(Item::chaser(c));
    for (int p = 0; p < kProgramCount; ++p)
        for (int step = 0; step < kProgramSteps; ++step)
            f(Item::programStep(p, step));
}

} // namespace lm740

Q_DECLARE_METATYPE(lm740::Item)
