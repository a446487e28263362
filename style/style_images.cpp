#include "style_images.h"

#include <QImage>
#include <QPainter>
#include <QPixmapCache>

#include <algorithm>

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

QPixmap styleDrawing(const QString &name, const QSize &size, qreal ratio,
                     const std::function<void(QPainter &, const QRect &)> &draw)
{
    if (size.isEmpty())
        return {};
    const QString key = root() + name + QLatin1Char('@') + QString::number(size.width()) +
                        QLatin1Char('x') + QString::number(size.height()) + QLatin1Char('@') +
                        QString::number(ratio);
    QPixmap pm;
    if (QPixmapCache::find(key, &pm))
        return pm;
    pm = QPixmap((QSizeF(size) * ratio).toSize());
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        draw(p, QRect(QPoint(0, 0), size));
    }
    QPixmapCache::insert(key, pm);
    return pm;
}

void layDown(QPainter *painter, const QPoint &at, const QPixmap &drawing)
{
    constexpr int kBand = 64;
    const qreal ratio = drawing.devicePixelRatio();
    for (int y = 0; y < drawing.height(); y += kBand) {
        const int lines = std::min(kBand, drawing.height() - y);
        painter->drawPixmap(QPointF(at.x(), at.y() + y / ratio), drawing,
                            QRectF(0, y, drawing.width(), lines));
    }
}

} // namespace lm740
