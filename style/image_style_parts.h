// What ArthurStyle and MyStyle share: widget polish, metrics and sizes, and the image-composed
// buttons, radio indicators and group boxes.
#pragma once

#include <QRect>
#include <QSize>
#include <QStyle>

class QPainter;
class QPalette;
class QStyleOption;
class QStyleOptionComplex;
class QWidget;

namespace lm740::styleparts {

void polishWidget(QWidget *w);
void unpolishWidget(QWidget *w);
void polishPalette(QPalette &pal);

void drawButtonPanel(const QStyleOption *opt, QPainter *p);
void drawRadioIndicator(const QStyleOption *opt, QPainter *p);
void drawGroupBoxFrame(const QStyleOption *opt, QPainter *p);

// Draws a group box: frame and check box by `base`, the title on its image caps by us.
void drawGroupBox(const QStyle *base, const QStyle *proxy, const QStyleOptionComplex *opt,
                  QPainter *p, const QWidget *w);
QRect groupBoxLabelRect(const QStyleOptionComplex *opt);

// Horizontal slider groove and thumb from the plain slider images.
void drawPlainSlider(const QStyle *proxy, const QStyleOptionComplex *opt, QPainter *p,
                     const QWidget *w);

QRect adjustSubElementRect(QStyle::SubElement element, const QStyleOption *opt, const QWidget *w,
                           QRect fromBase);
bool pixelMetric(QStyle::PixelMetric metric, int *value);
QSize adjustSize(QStyle::ContentsType type, QSize fromBase);

} // namespace lm740::styleparts
