// Counts the paint events a widget receives.
#pragma once

#include <QEvent>
#include <QObject>

class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};
