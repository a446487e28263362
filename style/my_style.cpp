#include "my_style.h"

#include "logging.h"

#include <QStyleOption>

MyStyle::MyStyle(QObject *parent) : ImagePartsStyle(parent) {}

void MyStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                            const QWidget *widget) const
{
    if (element == PE_FrameFocusRect)
        return;
    ImagePartsStyle::drawPrimitive(element, option, painter, widget);
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
