#include "color_slider.h"
#include "logging.h"

#include <QGuiApplication>
#include <QMouseEvent>

ColorSlider::ColorSlider(QWidget *parent) : ColorSlider(Qt::Vertical, parent) {}

ColorSlider::ColorSlider(Qt::Orientation orientation, QWidget *parent)
    : QSlider(orientation, parent)
{
    setMaximum(255);
    setMinimum(0);
    setValue(0);
    setAcceptDrops(false);
}

void ColorSlider::setSelected(bool state)
{
    selected = state;
    update();
}

void ColorSlider::setValue(int value)
{
    QSlider::setValue(value);
    update();
}

void ColorSlider::setValueIfSelected(int value)
{
    if (selected)
        QSlider::setValue(value);
}

void ColorSlider::plus()
{
    QSlider::setValue(value() + 1);
}

void ColorSlider::minus()
{
    QSlider::setValue(value() - 1);
}

void ColorSlider::changePercentifSelected(int percent)
{
    if (!selected)
        return;
    // 64-bit so that no percentage, however large, can overflow the product.
    const qint64 v = value();
    const qint64 d = v * percent / 100;
    const qint64 next = percent > 0 ? v + d + 5 : v + d - 5;
    setValue(int(qBound(qint64(0), next, qint64(255))));
}

bool ColorSlider::event(QEvent *e)
{
    if (e->type() == QEvent::HoverEnter || e->type() == QEvent::HoverLeave) {
        // Move events only reach the slider holding the grab, so a sweep across a row of sliders
        // is seen through enter and leave alone.
        const Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
        if (mods & Qt::ShiftModifier)
            selected = !(mods & Qt::ControlModifier);
        update();
        return true;
    }
    QSlider::event(e);
    return true;
}

void ColorSlider::mousePressEvent(QMouseEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers();
    if (mods & Qt::ControlModifier) {
        selected = !selected;
    } else if (e->button() == Qt::LeftButton && (mods & Qt::ShiftModifier)) {
        selected = !selected;
        pressPos = e->position().toPoint();
        qCDebug(lcEditor) << "mouse start" << pressPos;
    } else {
        QSlider::mousePressEvent(e);
    }
    update();
}

void ColorSlider::mouseMoveEvent(QMouseEvent *e)
{
    if (e->modifiers() & Qt::ShiftModifier) {
        selected = true;
        update();
        return;
    }
    QSlider::mouseMoveEvent(e);
}
