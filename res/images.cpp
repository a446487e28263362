#include "images.h"

namespace lm740 {

QString imagePath(const QString &name)
{
    return QStringLiteral(":/res/images/") + name;
}

} // namespace lm740
