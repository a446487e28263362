// Two shows compared as a user thinks of them: which item changed and how ("scene 3: lamps 5-9
// red", "chaser 2: time 1000 -> 1500 ms", "lamp count 30 -> 12"). A pure function, so that the
// command line prints it and a test reads it without any file.
#pragma once

#include "show.h"

#include <QList>
#include <QString>

namespace lm740 {

// A show with the lamp count and global scene time it is used with.
struct ComparedShow
{
    const Show *show = nullptr;
    int lamps = kDefaultLamps;
    int sceneTime = kMinSceneTime;
};

// One difference, from the first show to the second.
struct ShowDifference
{
    QString item;      // "scene 3", "chaser 2", "program 1 step 4"; empty for the show's own values
    QString field;     // "lamps", "lamp count", "global scene time", "time", "cross-fade",
                       // "direction", "pattern length", "repeat", "last step mark"
    int firstLamp = 0; // lamps: the run of lamps (from 1) that took the colour `to`
    int lastLamp = 0;
    QString from; // empty for lamps: the run's old colours may differ lamp by lamp
    QString to;
    QString unit; // of both values: "ms", "%", "s"; empty for none

    // "scene 3: lamps 5-9 red", "chaser 2: time 1000 -> 1500 ms", "lamp count 30 -> 12".
    QString text() const;
};

// Every difference, in the order of the show: lamp count, global scene time, scenes, chasers,
// programs step by step. Lamps are compared as far as either show uses them; a run of lamps
// next to each other that took one colour is one difference.
QList<ShowDifference> compareShows(const ComparedShow &a, const ComparedShow &b);

// "red" for the eight colours a lamp shows at full strength or off, "#ff8000" for any other.
QString colorName(const QColor &color);

} // namespace lm740
