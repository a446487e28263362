// The editor's look: image-composed buttons and group frames, rounded colour fields and
// colour-coded vertical sliders that show the slider selection. Everything else is Qt's Windows
// style.
#pragma once

#include "image_parts_style.h"

class ArthurStyle : public ImagePartsStyle
{
    Q_OBJECT

public:
    explicit ArthurStyle(QObject *parent = nullptr);

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget = nullptr) const override;

private:
    void drawVerticalSlider(const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const;
    void drawProgressGroove(const QStyleOption *option, QPainter *painter) const;
};
