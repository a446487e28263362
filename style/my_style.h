// The tab bar's style: ArthurStyle's buttons, radio indicators and group boxes and its metrics,
// with plain sliders, no focus rectangles and Qt's Windows style for everything else.
#pragma once

#include "image_parts_style.h"

class MyStyle : public ImagePartsStyle
{
    Q_OBJECT

public:
    explicit MyStyle(QObject *parent = nullptr);

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
};
