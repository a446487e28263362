// What one step changed in the show, and only that: the lamp colours and fields of the items it
// touched, each with its value before and after, and the lamp count and global scene time. A step
// of one lamp holds one lamp, not a copy of the show.
#pragma once

#include "item.h"

#include <QColor>

#include <vector>

namespace lm740 {

struct ShowDelta
{
    struct LampChange
    {
        int lamp = 0;
        QColor before;
        QColor after;
    };
    struct FieldChange
    {
        Field field = Field::Time;
        int before = 0;
        int after = 0;
    };
    struct ItemChange
    {
        Item item;
        std::vector<LampChange> lamps;
        std::vector<FieldChange> fields;
    };

    std::vector<ItemChange> items;
    int lampsBefore = 0;
    int lampsAfter = 0;
    int sceneTimeBefore = 0;
    int sceneTimeAfter = 0;

    // The difference from `before` to `after` over every item of the show.
    static ShowDelta between(const Show &before, const Show &after);
    // The same over the listed items only (the lamp count and scene time always).
    static ShowDelta between(const Show &before, const Show &after, const std::vector<Item> &items);

    bool isEmpty() const;
    bool globalsChanged() const;
    // Puts the show in its state after the step (forward) or before it.
    void apply(Show &show, bool forward) const;
    // Takes in a later step over the same show: every value keeps its first "before" and takes
    // the later "after"; a value that ends where it began is no longer part of the step.
    void absorb(const ShowDelta &later);
    // Lamps changed in all, over every item.
    int lampCount() const;
    // Bytes held, for the memory benchmark.
    size_t bytes() const;
};

// Whether two shows hold the same records, lamp count and scene time (the selection and the
// chaser simulation's working copy do not count).
bool sameRecords(const Show &a, const Show &b);
// Copies one item's record from `from` into `to`.
void copyItem(const Show &from, Show &to, Item item);

} // namespace lm740
