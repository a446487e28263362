// The 0..255 slider of one colour channel of a lamp. It carries a selection flag set by Ctrl and
// Shift gestures; selected sliders of all lamps are edited together by the panel.
#pragma once

#include <QPoint>
#include <QSlider>

class ColorSlider : public QSlider
{
    Q_OBJECT
    // Read by the widget style, which cannot see this class, to draw the selection overlay.
    Q_PROPERTY(bool selected READ isSelected WRITE setSelected)

public:
    explicit ColorSlider(QWidget *parent = nullptr);
    ColorSlider(Qt::Orientation orientation, QWidget *parent = nullptr);

    void setSelected(bool state);
    bool isSelected() const { return selected; }

public Q_SLOTS:
    void setValue(int value);
    void setValueIfSelected(int value);
    void plus();
    void minus();
    void changePercentifSelected(int percent);

protected:
    bool event(QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;

private:
    bool selected = false;
    QPoint pressPos;
};
