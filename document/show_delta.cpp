#include "show_delta.h"

#include <algorithm>

namespace lm740 {

namespace {

ShowDelta::ItemChange itemDifference(const Show &before, const Show &after, Item item)
{
    ShowDelta::ItemChange change{item, {}, {}};
    const ColorArray &b = colorsOf(before, item);
    const ColorArray &a = colorsOf(after, item);
    for (int i = 0; i < kColorSlots; ++i)
        if (b[size_t(i)] != a[size_t(i)])
            change.lamps.push_back({i, b[size_t(i)], a[size_t(i)]});
    for (Field f : kFields) {
        const std::optional<int> fb = fieldOf(before, item, f);
        const std::optional<int> fa = fieldOf(after, item, f);
        if (fb && fa && *fb != *fa)
            change.fields.push_back({f, *fb, *fa});
    }
    return change;
}

ShowDelta globalsDifference(const Show &before, const Show &after)
{
    ShowDelta d;
    d.lampsBefore = before.ledsNumber;
    d.lampsAfter = after.ledsNumber;
    d.sceneTimeBefore = before.sceneTime;
    d.sceneTimeAfter = after.sceneTime;
    return d;
}

template <class Change, class Key>
void absorbInto(std::vector<Change> &into, const std::vector<Change> &later, Key key)
{
    for (const Change &c : later) {
        auto it = std::find_if(into.begin(), into.end(),
                               [&](const Change &e) { return key(e) == key(c); });
        if (it == into.end())
            into.push_back(c);
        else
            it->after = c.after;
    }
    // A value brought back to where it began has not changed.
    std::erase_if(into, [](const Change &e) { return e.before == e.after; });
}

} // namespace

ShowDelta ShowDelta::between(const Show &before, const Show &after)
{
    ShowDelta d = globalsDifference(before, after);
    forEachItem([&](Item item) {
        ItemChange c = itemDifference(before, after, item);
        if (!c.lamps.empty() || !c.fields.empty())
            d.items.push_back(std::move(c));
    });
    return d;
}

ShowDelta ShowDelta::between(const Show &before, const Show &after, const std::vector<Item> &items)
{
    ShowDelta d = globalsDifference(before, after);
    for (Item item : items) {
        ItemChange c = itemDifference(before, after, item);
        if (!c.lamps.empty() || !c.fields.empty())
            d.items.push_back(std::move(c));
    }
    return d;
}

bool ShowDelta::isEmpty() const
{
    return items.empty() && !globalsChanged();
}

bool ShowDelta::globalsChanged() const
{
    return lampsBefore != lampsAfter || sceneTimeBefore != sceneTimeAfter;
}

void ShowDelta::apply(Show &show, bool forward) const
{
    for (const ItemChange &c : items) {
        ColorArray &colors = colorsOf(show, c.item);
        for (const LampChange &l : c.lamps)
            colors[size_t(l.lamp)] = forward ? l.after : l.before;
        for (const FieldChange &f : c.fields)
            setField(show, c.item, f.field, forward ? f.after : f.before);
    }
    show.ledsNumber = forward ? lampsAfter : lampsBefore;
    show.sceneTime = forward ? sceneTimeAfter : sceneTimeBefore;
}

void ShowDelta::absorb(const ShowDelta &later)
{
    for (const ItemChange &c : later.items) {
        auto it = std::find_if(items.begin(), items.end(),
                               [&](const ItemChange &e) { return e.item == c.item; });
        if (it == items.end()) {
            items.push_back(c);
            continue;
        }
        absorbInto(it->lamps, c.lamps, [](const LampChange &l) { return l.lamp; });
        absorbInto(it->fields, c.fields, [](const FieldChange &f) { return f.field; });
    }
    std::erase_if(items, [](const ItemChange &c) { return c.lamps.empty() && c.fields.empty(); });
    lampsAfter = later.lampsAfter;
    sceneTimeAfter = later.sceneTimeAfter;
}

int ShowDelta::lampCount() const
{
    int n = 0;
    for (const ItemChange &c : items)
        n += int(c.lamps.size());
    return n;
}

size_t ShowDelta::bytes() const
{
    size_t n = sizeof(*this) + items.capacity() * sizeof(ItemChange);
    for (const ItemChange &c : items)
        n += c.lamps.capacity() * sizeof(LampChange) + c.fields.capacity() * sizeof(FieldChange);
    return n;
}

bool sameRecords(const Show &a, const Show &b)
{
    return a.ledsNumber == b.ledsNumber && a.sceneTime == b.sceneTime &&
           a.sceneColors == b.sceneColors && a.chasers == b.chasers && a.programs == b.programs;
}

void copyItem(const Show &from, Show &to, Item item)
{
    colorsOf(to, item) = colorsOf(from, item);
    for (Field f : kFields)
        if (const std::optional<int> v = fieldOf(from, item, f))
            setField(to, item, f, *v);
}

} // namespace lm740
