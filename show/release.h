// Firmware release numbers: the release this program is made for, and the number of a release
// text as the controller and the upgrade files carry it (rel_0_16 is 16, fw_1_05 is 105).
#pragma once

#include <QString>

namespace lm740 {

// The controller firmware release this program speaks to.
inline constexpr int kRequiredRelease = 16;

// 100 * major + minor, or -1 when the text carries no release. The major is the digit of the first
// "_d_d" or "_d_dd"; the minor is the first two-digit run anywhere in the text, or failing that the
// digit after "d_". So a two-digit run before the release itself wins (fw12_1_05 is 112): upgrade
// files in the field have been numbered that way, so it stays.
int releaseNumber(const QString &text);

} // namespace lm740
