#include "style_images.h"

#include <QImage>
#include <QPixmapCache>

namespace lm740 {

namespace {
QString &root()
{
    static QString r = QStringLiteral(":/res/images/");
    return r;
}
} // namespace

QString styleImageRoot()
{
    return root();
}

void setStyleImageRoot(const QString &newRoot)
{
    root() = newRoot;
    QPixmapCache::clear();
}

QPixmap styleImage(const QString &fileName)
{
    const QString path = root() + fileName;
    QPixmap pm;
    if (QPixmapCache::find(path, &pm))
        return pm;
    const QImage image(path);
    if (image.isNull())
        return {};
    pm = QPixmap::fromImage(image);
    QPixmapCache::insert(path, pm);
    return pm;
}

} // namespace lm740
