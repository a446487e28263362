#include "my_style.h"
#include "image_style_parts.h"

#include "logging.h"

#include <QLoggingCategory>
#include <QStyleFactory>
#include <QStyleOption>


using namespace lm740;

MyStyle::MyStyle(QObject *parent) : QProxyStyle(QStyleFactory::create(QStringLiteral("Windows")))
{
    setParent(parent);
}

void MyStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    styleparts::polishWidget(widget);
}

void MyStyle::unpolish(QWidget *widget)
{
    styleparts::unpolishWidget(widget);
    QProxyStyle::unpolish(widget);
}

void MyStyle::polish(QPalette &palette)
{
    QProxyStyle::polish(palette);
    styleparts::polishPalette(palette);
}

void MyStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                            const QWidget *widget) const
{
    switch (element) {
    case PE_FrameFocusRect:
        return;
    case PE_PanelButtonCommand:
        styleparts::drawButtonPanel(option, painter);
        return;
    case PE_IndicatorRadioButton:
        styleparts::drawRadioIndicator(option, painter);
        return;
    case PE_FrameGroupBox:
        styleparts::drawGroupBoxFrame(option, painter);
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void MyStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                          const QWidget *widget) const
{
    if (element == CE_TabBarTab)
        qCDebug(lcApp) << "CE_TabBarTab";
    else
        qCDebug(lcApp) << "default drawControl";
    QProxyStyle::drawControl(element, option, painter, widget);
}

QRect MyStyle::subElementRect(SubElement element, const QStyleOption *option,
                              const QWidget *widget) const
{
    return styleparts::adjustSubElementRect(element, option, widget,
                                            QProxyStyle::subElementRect(element, option, widget));
}

void MyStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                 QPainter *painter, const QWidget *widget) const
{
    if (control == CC_Slider) {
        styleparts::drawPlainSlider(this, option, painter, widget);
        return;
    }
    if (control == CC_GroupBox) {
        styleparts::drawGroupBox(baseStyle(), this, option, painter, widget);
        return;
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

QRect MyStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                              SubControl subControl, const QWidget *widget) const
{
    if (control == CC_GroupBox && subControl == SC_GroupBoxLabel)
        return styleparts::groupBoxLabelRect(option);
    return QProxyStyle::subControlRect(control, option, subControl, widget);
}

int MyStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                         const QWidget *widget) const
{
    int value = 0;
    if (styleparts::pixelMetric(metric, &value))
        return value;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize MyStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                const QWidget *widget) const
{
    return styleparts::adjustSize(type, QProxyStyle::sizeFromContents(type, option, size, widget));
}
