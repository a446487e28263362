// A pattern baked into the show document as one step of its history, so that Edit > Undo takes
// the whole bake back at once.
#pragma once

#include "pattern_bake.h"
#include "show_document.h"

namespace lm740 {

// Bakes a pattern's frames into the document's show through the layout (show/pattern_bake.h) as
// one step named after the pattern, which shows the scene, the chaser or the program's first step
// baked. False with *error set, and no step, when the target is outside the show.
bool bakePatternStep(ShowDocument &document, const QString &patternName,
                     const PatternFrames &frames, const Layout &layout, const BakeTarget &target,
                     BakeOutcome *outcome = nullptr, QString *error = nullptr);

} // namespace lm740
