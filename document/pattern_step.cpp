#include "pattern_step.h"

namespace lm740 {

bool bakePatternStep(ShowDocument &document, const QString &patternName,
                     const PatternFrames &frames, const Layout &layout, const BakeTarget &target,
                     BakeOutcome *outcome, QString *error)
{
    using Into = BakeTarget::Into;
    const Item shown = target.into == Into::Scene ? Item::scene(target.number)
                       : target.into == Into::Chaser
                           ? Item::chaser(target.number)
                           : Item::programStep(target.number, target.firstStep);
    bool baked = false;
    document.change(ShowDocument::tr("Apply pattern %1").arg(patternName), shown, [&](Show &show) {
        baked = bakePattern(show, frames, layout, target, outcome, error);
    });
    return baked;
}

} // namespace lm740
