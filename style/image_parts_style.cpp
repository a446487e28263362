#include "image_parts_style.h"
#include "image_style_parts.h"

#include <QStyleFactory>
#include <QStyleOption>

using namespace lm740;

ImagePartsStyle::ImagePartsStyle(QObject *parent)
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Windows")))
{
    setParent(parent);
}

void ImagePartsStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    styleparts::polishWidget(widget);
}

void ImagePartsStyle::unpolish(QWidget *widget)
{
    styleparts::unpolishWidget(widget);
    QProxyStyle::unpolish(widget);
}

void ImagePartsStyle::polish(QPalette &palette)
{
    QProxyStyle::polish(palette);
    styleparts::polishPalette(palette);
}

QRect ImagePartsStyle::subElementRect(SubElement element, const QStyleOption *option,
                                      const QWidget *widget) const
{
    return styleparts::adjustSubElementRect(element, option, widget,
                                            QProxyStyle::subElementRect(element, option, widget));
}

QRect ImagePartsStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                                      SubControl subControl, const QWidget *widget) const
{
    if (control == CC_GroupBox && subControl == SC_GroupBoxLabel)
        return styleparts::groupBoxLabelRect(option);
    return QProxyStyle::subControlRect(control, option, subControl, widget);
}

int ImagePartsStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                                 const QWidget *widget) const
{
    int value = 0;
    if (styleparts::pixelMetric(metric, &value))
        return value;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize ImagePartsStyle::sizeFromContents(ContentsType type, const QStyleOption *option,
                                        const QSize &size, const QWidget *widget) const
{
    return styleparts::adjustSize(type, QProxyStyle::sizeFromContents(type, option, size, widget));
}
