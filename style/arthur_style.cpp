#include "arthur_style.h"
#include "style_images.h"

#include <QPaintDevice>
#include <QPainter>
#include <QStyleOption>
#include <QWidget>

#include <map>
#include <utility>

using namespace lm740;

namespace {

// The overlay colour of a selected colour slider, by the slider's object name; invalid for a
// slider that is not one of a lamp's three.
QColor selectionColor(const QWidget *w)
{
    if (!w)
        return {};
    const QString name = w->objectName();
    if (name == QLatin1String("SliderRed"))
        return QColor(255, 0, 0, 128);
    if (name == QLatin1String("SliderGreen"))
        return QColor(0, 255, 0, 128);
    if (name == QLatin1String("SliderBlue"))
        return QColor(0, 0, 255, 128);
    return {};
}

QString verticalThumb(const QWidget *w)
{
    const QString name = w ? w->objectName() : QString();
    if (name == QLatin1String("SliderRed"))
        return QStringLiteral("slider_thumb_on_v_red.png");
    if (name == QLatin1String("SliderGreen"))
        return QStringLiteral("slider_thumb_on_v_green.png");
    return QStringLiteral("slider_thumb_on_v_blue.png");
}

// An overview cell's rounded shape at one size: how much of each pixel its colour covers, and its
// grey outline. The strip repaints up to 170 cells on each tick of the preview, and filling and
// stroking a rounded rectangle's antialiased edges costs several times more than laying down two
// small images made once for each size.
struct CellShape
{
    QImage cover;   // the colour's coverage of each pixel (alpha only)
    QImage outline; // the outline over transparent
};

const CellShape &cellShape(QSize size, qreal ratio)
{
    static std::map<std::pair<std::pair<int, int>, qreal>, CellShape> shapes;
    const auto key = std::make_pair(std::make_pair(size.width(), size.height()), ratio);
    if (const auto found = shapes.find(key); found != shapes.end())
        return found->second;
    if (shapes.size() >= 32) // a few sizes at a time: the cells of a strip share theirs
        shapes.clear();
    const QRectF outline = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5);
    const auto draw = [&](QImage &image, const QPen &pen, const QBrush &brush) {
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(pen);
        p.setBrush(brush);
        p.drawRoundedRect(outline, 25, 25, Qt::RelativeSize);
    };
    const QSize pixels = (QSizeF(size) * ratio).toSize();
    CellShape shape{QImage(pixels, QImage::Format_Alpha8),
                    QImage(pixels, QImage::Format_ARGB32_Premultiplied)};
    draw(shape.cover, Qt::NoPen, Qt::black);
    draw(shape.outline, QPen(QColor(128, 128, 128), 1), Qt::NoBrush);
    return shapes.emplace(key, std::move(shape)).first->second;
}

// The cell's colour laid into its shape.
QImage filledCell(const CellShape &shape, QColor color)
{
    QImage cell(shape.cover.size(), QImage::Format_ARGB32_Premultiplied);
    cell.setDevicePixelRatio(shape.cover.devicePixelRatio());
    const QRgb rgb = color.rgba();
    const QRgb whole = qPremultiply(rgb); // inside the shape; only its edge is partly covered
    const int width = cell.width(), height = cell.height();
    for (int y = 0; y < height; ++y) {
        const uchar *cover = shape.cover.constScanLine(y);
        auto *out = reinterpret_cast<QRgb *>(cell.scanLine(y));
        for (int x = 0; x < width; ++x)
            out[x] = cover[x] == 255 ? whole
                                     : qPremultiply(qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb),
                                                          qAlpha(rgb) * cover[x] / 255));
    }
    return cell;
}

} // namespace

ArthurStyle::ArthurStyle(QObject *parent) : ImagePartsStyle(parent) {}

void ArthurStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                QPainter *painter, const QWidget *widget) const
{
    switch (element) {
    case PE_Frame: {
        // How an overview cell shows its colour. The grey outline sets every colour off against
        // the light background around the cells, white included, and neighbours of one colour
        // off against each other.
        if (option->rect.isEmpty())
            return;
        const QPaintDevice *device = painter->device();
        const CellShape &shape =
            cellShape(option->rect.size(), device ? device->devicePixelRatio() : 1.0);
        painter->drawImage(option->rect.topLeft(),
                           filledCell(shape, option->palette.color(QPalette::Base)));
        painter->drawImage(option->rect.topLeft(), shape.outline);
        return;
    }
    case PE_PanelLineEdit: {
        // How the lamp's colour cell and value fields show their colours.
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(Qt::black, 1));
        painter->setBrush(option->palette.brush(QPalette::Base));
        painter->drawRoundedRect(QRectF(option->rect.adjusted(1, 1, -1, -1)), 10, 25,
                                 Qt::RelativeSize);
        painter->restore();
        return;
    }
    default:
        ImagePartsStyle::drawPrimitive(element, option, painter, widget);
    }
}

void ArthurStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                              const QWidget *widget) const
{
    switch (element) {
    case CE_ProgressBarGroove:
        drawProgressGroove(option, painter);
        return;
    case CE_ProgressBarContents:
        return; // the groove has drawn the progress
    default:
        ImagePartsStyle::drawControl(element, option, painter, widget);
    }
}

void ArthurStyle::drawProgressGroove(const QStyleOption *option, QPainter *painter) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionProgressBar *>(option);
    if (!bar)
        return;
    // A busy bar (an empty range) shows nothing rather than dividing by zero, and a value outside
    // the range (a reset bar reads minimum - 1) fills nothing or everything.
    const qint64 span = qint64(bar->maximum) - bar->minimum;
    if (span <= 0)
        return;
    const qint64 done = qBound<qint64>(0, qint64(bar->progress) - bar->minimum, span);
    const QRect r = bar->rect;
    const int width = int(qint64(r.width()) * done / span);
    if (width <= 0)
        return;
    const QRect fill(r.left(), r.top(), width, r.height());
    QLinearGradient gradient(fill.topLeft(), fill.topRight());
    gradient.setColorAt(0, Qt::black);
    gradient.setColorAt(1, QColor(0, 255, 0));
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(gradient);
    painter->drawRect(fill);
    painter->restore();
}

void ArthurStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                     QPainter *painter, const QWidget *widget) const
{
    const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control == CC_Slider && slider && slider->orientation == Qt::Vertical)
        drawVerticalSlider(option, painter, widget);
    else
        ImagePartsStyle::drawComplexControl(control, option, painter, widget);
}

void ArthurStyle::drawVerticalSlider(const QStyleOptionComplex *option, QPainter *painter,
                                     const QWidget *widget) const
{
    const QRect r = option->rect;
    const QPixmap bar = styleImage(QStringLiteral("slider_bar_vertical.png"));
    if (!bar.isNull() && (option->subControls & SC_SliderGroove)) {
        // The bar stretched to the slider's height once for each height: the lamps' sliders
        // share theirs.
        const QSize size(qMin(bar.width(), r.width()), r.height());
        const QPaintDevice *device = painter->device();
        const QPixmap stretched = styleDrawing(
            QStringLiteral("slider_bar_vertical"), size, device ? device->devicePixelRatio() : 1.0,
            [&bar](QPainter &p, const QRect &area) { p.drawPixmap(area, bar); });
        layDown(painter, QPoint(r.left() + (r.width() - size.width()) / 2, r.top()), stretched);
    }
    const QPixmap thumb = styleImage(verticalThumb(widget));
    if (!thumb.isNull() && (option->subControls & SC_SliderHandle)) {
        const QRect handle = subControlRect(CC_Slider, option, SC_SliderHandle, widget);
        painter->drawPixmap(handle, thumb);
    }
    // The slider selection: only the three colour sliders of a lamp carry one.
    const QColor overlay = selectionColor(widget);
    if (overlay.isValid() && widget->property("selected").toBool()) {
        const QRectF area = QRectF(r).adjusted(4, 0, -4, 0);
        QLinearGradient gradient(area.topLeft(), area.topRight());
        // A touch of white down the middle gives the overlay its rounded, tube-like look.
        QColor light(overlay.red() + (255 - overlay.red()) * 3 / 10,
                     overlay.green() + (255 - overlay.green()) * 3 / 10,
                     overlay.blue() + (255 - overlay.blue()) * 3 / 10, 128);
        gradient.setColorAt(0, overlay);
        gradient.setColorAt(0.5, light);
        gradient.setColorAt(1, overlay);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(gradient);
        painter->drawRoundedRect(area, 4, 4);
        painter->restore();
    }
}
