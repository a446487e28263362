// The integer spin box of the timing and count fields: keys typed into it reach the window's
// keyboard commands first, then the spin box handles them as usual.
#pragma once

#include <QSpinBox>

class MySpin : public QSpinBox
{
    Q_OBJECT

public:
    explicit MySpin(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *e) override;
};
