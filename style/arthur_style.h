// The editor's look: image-composed buttons and group frames, rounded colour fields and
// colour-coded vertical sliders that show the slider selection. Everything else is Qt's Windows
// style.
#pragma once

#include <QProxyStyle>

class ArthurStyle : public QProxyStyle
{
    Q_OBJECT

public:
    explicit ArthurStyle(QObject *parent = nullptr);

    using QProxyStyle::polish;
    using QProxyStyle::unpolish;
    void polish(QWidget *widget) override;
    void unpolish(QWidget *widget) override;
    void polish(QPalette &palette) override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    QRect subElementRect(SubElement element, const QStyleOption *option,
                         const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                         SubControl subControl, const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget = nullptr) const override;

private:
    void drawVerticalSlider(const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const;
    void drawProgressGroove(const QStyleOption *option, QPainter *painter) const;
};
