// Where the program's compiled-in images live. Link lm740_images to carry them.
#pragma once

#include <QString>

namespace lm740 {

// Resource path of one image, for example imagePath("open.png") is ":/res/images/open.png".
QString imagePath(const QString &name);

} // namespace lm740
