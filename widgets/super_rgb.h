// The editor of one lamp: a colour cell, three value fields, plus and minus buttons, three colour
// sliders and the lamp's DMX addresses. It owns the lamp's colour while shown and takes part in
// the panel-wide editing of selected sliders.
#pragma once

#include "ui_lamp.h"

#include <QColor>
#include <QWidget>

class QStyle;
class QValidator;

class SuperRGB : public QWidget, public Ui::Lamp
{
    Q_OBJECT

public:
    SuperRGB(QWidget *parent, quint8 red, quint8 green, quint8 blue, quint16 lampIndex);

    QColor lampColor() const { return color; }
    bool isRedSelected() const;
    bool isGreenSelected() const;
    bool isBlueSelected() const;

    // Sets the style on the group box and on every widget inside it.
    void applyStyle(QStyle *style);

Q_SIGNALS:
    void selectedSliderValueChange(int value);
    void colorChanged(QColor color);

public Q_SLOTS:
    void setRedColor(int value);
    void setGreenColor(int value);
    void setBlueColor(int value);
    void textRedChanged(QString text);
    void textGreenChanged(QString text);
    void textBlueChanged(QString text);
    void redPlusPlus();
    void greenPlusPlus();
    void bluePlusPlus();
    void redMinusMinus();
    void greenMinusMinus();
    void blueMinusMinus();
    void updateRGBColor();
    void setRGB(uint r, uint g, uint b);
    void setValueIfSelected(int value);
    void sliderRedMoved(int value);
    void sliderGreenMoved(int value);
    void sliderBlueMoved(int value);
    void setAll(bool state);
    void selectRed(bool state);
    void selectGreen(bool state);
    void selectBlue(bool state);
    void changePercentifSelected(int percent);

private:
    // Puts the form's parts into layouts, so that the sliders take the height there is.
    void fitToHeight();
    // The accessible names of the lamp's controls, with its number and channel.
    void nameControls();
    void setChannel(quint8 &channel, int value, ColorLineEdit *edit, int shift);
    void typedChannel(const QString &text, ColorSlider *slider, ColorLineEdit *edit, int shift);
    // Runs `set`, which may move several of the lamp's channels, and updates the colour cell and
    // reports the colour once at the end instead of once per channel: a move over the selected
    // sliders changes every channel of every lamp.
    template <class F> void asOneColor(F &&set);

    QColor color;
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;
    QValidator *valueValidator = nullptr;
    quint16 lampIndex = 0;
    bool echoGuard = false;
    // Inside asOneColor: the colour update waits for its end.
    int colorHeld = 0;
    bool colorOwed = false;
};
