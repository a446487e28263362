// Loads the style's images through Qt's process-wide pixmap cache, so that each image file is read
// and converted once however many widgets are painted from it.
#pragma once

#include <QPixmap>
#include <QString>

namespace lm740 {

// The image of that file name under the image root, or an empty pixmap when there is none.
QPixmap styleImage(const QString &fileName);

// The folder the images come from; ":/res/images/" unless a test points it elsewhere.
QString styleImageRoot();
void setStyleImageRoot(const QString &root);

} // namespace lm740
