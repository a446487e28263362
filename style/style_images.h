// Loads the style's images through Qt's process-wide pixmap cache, so that each image file is read
// and converted once however many widgets are painted from it; and keeps there the drawings made
// from them at the sizes the widgets ask for.
#pragma once

#include <QPixmap>
#include <QString>

#include <functional>

class QPainter;

namespace lm740 {

// The image of that file name under the image root, or an empty pixmap when there is none.
QPixmap styleImage(const QString &fileName);

// What `draw` paints into a transparent area of `size` at (0, 0), for a painter whose device has
// the pixel ratio `ratio`; drawn once for each name and size and kept in the pixmap cache (until
// the image root changes). A part stretched from small images costs a scaled drawing, each on its
// own worth a trip through Qt's span blending and its thread pool; the lamp strip paints the same
// few sizes dozens of times, and laying down one finished image is far cheaper.
QPixmap styleDrawing(const QString &name, const QSize &size, qreal ratio,
                     const std::function<void(QPainter &, const QRect &)> &draw);

// Lays `drawing` down with its top left corner at `at`, in bands of 64 device lines. Qt's raster
// engine hands a blend of 96 lines or more under a clip that is not a single rectangle (a widget's
// paint region often is not) over to its thread pool; for parts this small, waking the pool and
// waiting for it costs many times the blend, and on a busy machine the paint waits as long as the
// pool's threads wait to be scheduled.
void layDown(QPainter *painter, const QPoint &at, const QPixmap &drawing);

// The folder the images come from; ":/res/images/" unless a test points it elsewhere.
QString styleImageRoot();
void setStyleImageRoot(const QString &root);

} // namespace lm740
