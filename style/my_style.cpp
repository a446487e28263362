#include "my_style.h"
#include "image_style_parts.h"

#include "logging.h"

#include <QLoggingCategory>
#include <QStyleOption>

using namespace lm740;

MyStyle::MyStyle(QObject *parent) : ImagePartsStyle(parent) {}

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
        ImagePartsStyle::drawPrimitive(element, option, painter, widget);
    }
}

void MyStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                          const QWidget *widget) const
{
    if (element == CE_TabBarTab)
        qCDebug(lcApp) << "CE_TabBarTab";
    else
        qCDebug(lcApp) << "default drawControl";
    ImagePartsStyle::drawControl(element, option, painter, widget);
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
    ImagePartsStyle::drawComplexControl(control, option, painter, widget);
}
