// The preview strip docked above the editor: one coloured rectangle per lamp, fading from the last
// item shown to the current one. Its tick is also the clock of the chaser and program simulations.
#pragma once

#include "item.h"
#include "layout.h"
#include "show.h"

#include <QDockWidget>

#include <optional>

class QTimer;

class MyDockWidget : public QDockWidget
{
    Q_OBJECT
public:
    // The height of a line of lamps, the strip's whole height while no layout is set.
    static constexpr int kLineHeight = 20;

    explicit MyDockWidget(QWidget *parent = nullptr);

    // Shows a new item: fades from the colours being shown to `colors` (n lamps) over
    // total x xfadePercent / 100 ms, and counts the item's time from now.
    void startFade(quint32 total, quint32 xfadePercent, const QColor *colors, int n);
    // What plays on its own: a chaser or a program simulation, or nothing (a preview only).
    void setPlayMode(std::optional<lm740::ItemKind> playing);

    // The colour lamp i shows at this moment.
    QColor shownColor(int i) const;
    // The item shown was edited: its colours (n lamps) reach the strip at the next tick, with
    // no new fade and the item's time going on. Many edits between two ticks make one picture.
    void followColors(const QColor *colors, int n);
    // The item shown was given another time or cross-fade: its time so far counts against them.
    void followTiming(quint32 total, quint32 xfadePercent);
    // Draws the lamps in their cells of `layout`, or in a line with none; the strip takes the
    // height that needs.
    void setLampLayout(const lm740::Layout *layout);
    // Gives the strip the height its layout needs (a line's without one), whatever height a drag
    // or the window's state kept from another run gave it.
    void fitHeight();

    QTimer *tickTimer = nullptr;
    quint32 elapsed = 0;
    quint32 totalTime = 0;
    quint32 fadeTime = 0;
    std::optional<lm740::ItemKind> playMode;
    int count = 0;
    lm740::ColorArray targetColors;
    lm740::ColorArray previousColors;

Q_SIGNALS:
    void next_prog();
    void next_chaser();

public Q_SLOTS:
    // One tick of the clock: time goes on, the end of an item is decided here (never while
    // painting, since the window may talk to the controller or show a message in reply), and the
    // strip is repainted only while its picture changes.
    void tick();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_advancing = false; // an end-of-item signal is being handled
    bool m_followWanted = false;
    lm740::ColorArray m_following;
    std::optional<lm740::Layout> m_layout;
};
