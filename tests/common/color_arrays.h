// Colour rows for tests: every lamp gets a colour of its own, so that a colour read back tells
// which lamp it came from.
#pragma once

#include "show.h"

#include <QColor>
#include <QList>

namespace testcolors {

using lm740::ColorArray;

// A row where no two lamps share a colour. In row 0 the red channel is the lamp's number; seeds 1
// to 255 give rows that differ from it in every lamp.
inline ColorArray numberedColors(int seed = 0)
{
    ColorArray c;
    for (int i = 0; i < lm740::kColorSlots; ++i)
        c[i] = QColor((i + seed) % 256, (i * 3 + 7 * seed) % 256, (511 - i - seed % 256) % 256);
    return c;
}

// The lamp numbers a row of colours from numberedColors() came from.
template <typename Colors> QList<int> lampNumbersOf(const Colors &colors)
{
    QList<int> out;
    for (const QColor &c : colors)
        out << c.red();
    return out;
}

// The colours of the lamps `lamps`, in that order.
inline QList<QColor> colorsOf(const ColorArray &row, const QList<int> &lamps)
{
    QList<QColor> out;
    for (int i : lamps)
        out << row[i];
    return out;
}

} // namespace testcolors
