// Loads one of the program's images from inside a static library of its own.
#pragma once

#include <QImage>
#include <QString>

QImage loadCarriedImage(const QString &name);
