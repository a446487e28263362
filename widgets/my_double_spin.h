// The floating-point spin box of the time fields; like MySpin it lets the window see keys first.
#pragma once

#include <QDoubleSpinBox>

class MyDoubleSpin : public QDoubleSpinBox
{
    Q_OBJECT

public:
    explicit MyDoubleSpin(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *e) override;
};
