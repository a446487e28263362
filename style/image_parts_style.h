// What both widget styles share over Qt's Windows style: the polish rules (hover for the sweep
// gesture, group-box layouts, the window colour), the metrics, the sizes, the radio-button and
// group-box title rectangles, and the drawing of the image-composed buttons, radio indicators,
// group boxes and plain sliders. Each style adds its own drawing over these.
#pragma once

#include <QProxyStyle>

class ImagePartsStyle : public QProxyStyle
{
    Q_OBJECT

public:
    explicit ImagePartsStyle(QObject *parent = nullptr);

    using QProxyStyle::polish;
    using QProxyStyle::unpolish;
    void polish(QWidget *widget) override;
    void unpolish(QWidget *widget) override;
    void polish(QPalette &palette) override;
    QRect subElementRect(SubElement element, const QStyleOption *option,
                         const QWidget *widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                         SubControl subControl, const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget = nullptr) const override;
};
