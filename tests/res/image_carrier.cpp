#include "image_carrier.h"

#include "images.h"

QImage loadCarriedImage(const QString &name)
{
    return QImage(lm740::imagePath(name));
}
