// The preview strip docked above the editor: one coloured rectangle per lamp, fading from the last
// item shown to the current one. Its tick is also the clock of the chaser and program simulations.
#pragma once

#include "show.h"

#include <QDockWidget>

class QTimer;

class MyDockWidget : public QDockWidget
{
    Q_OBJECT
public:
    explicit MyDockWidget(QWidget *parent = nullptr);

    QTimer *tickTimer = nullptr;
    quint32 elapsed = 0;
    quint32 totalTime = 0;
    quint32 fadeTime = 0;
    qint8 playMode = 0; // 0 preview only, 1 chaser simulation, 2 program simulation
    int count = 0;
    lm740::ColorArray targetColors;
    lm740::ColorArray previousColors;

Q_SIGNALS:
    void next_prog();
    void next_chaser();

public Q_SLOTS:
    void ten_msec();
};
