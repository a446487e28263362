// What the simulated Lm740 puts on its outputs: the scene, chaser or program it was told to run,
// read from its own settings memory with the layout the files use, and played with the preview
// strip's arithmetic (show/playback.h) on ticks of 30 ms that its owner gives it. After start it
// plays scene 1 of its memory; blackout shows black until the next run command.
#pragma once

#include "settings_layout.h"
#include "show.h"

#include <QColor>

#include <memory>

namespace lm740 {

class SimPlayer
{
public:
    enum class Item { Scene, Chaser, Program, Blackout };

    SimPlayer();
    ~SimPlayer();

    // Starts an item from `memory` (the whole settings image): a scene fades in over the global
    // scene time, a chaser from its starting frame, a program from its first step. A number
    // outside the item's range is refused (false, nothing changes).
    bool run(layout::ConstImage memory, Item item, int number = 0);
    // Starts the item it plays again from memory, as after a power cycle or a new memory.
    void restart(layout::ConstImage memory) { run(memory, m_item, m_number); }

    // One tick: time goes on by the preview's 30 ms, and a chaser or program whose time has run out
    // takes its next step from memory. True when the picture or the step changed.
    bool tick(layout::ConstImage memory);
    // As many ticks as fit into `ms` (for time in which nobody watched), at most kMaxCatchUpTicks.
    void advance(layout::ConstImage memory, qint64 ms);
    static constexpr int kMaxCatchUpTicks = 20000; // ten minutes

    // Bytes written into memory while it plays: the colours of the scene or step it shows and the
    // lamp count are read again, without restarting the fade, by takeWrites() or the next tick.
    void memoryWritten(int address, int length);
    // Reads again what memoryWritten() found touched; true when it did. The controller calls it
    // right after a byte is written, so that the byte shows at once.
    bool takeWrites(layout::ConstImage memory);
    // Goes up each time the picture is read again from memory, for a view that shows it.
    int rereads() const { return m_rereads; }

    // Whether ticks can still change anything: a fade runs, or a chaser or program counts its time.
    bool moving() const;

    Item item() const { return m_item; }
    int number() const { return m_number; }
    int step() const { return m_step; } // of a program, 0 to 30
    int lamps() const { return m_lamps; }
    // The colour on output `lamp` (0 to lamps()-1) at this moment.
    QColor color(int lamp) const;

private:
    void startFade(quint32 total, quint32 xfadePercent, const ColorArray &colors);
    void startStep(layout::ConstImage memory);
    void nextItem(layout::ConstImage memory);
    void reread(layout::ConstImage memory);

    Item m_item = Item::Scene;
    int m_number = 0;
    int m_step = 0;
    int m_lamps = kDefaultLamps;
    bool m_stale = false;
    int m_rereads = 0;

    // The fade, as the preview strip keeps it.
    ColorArray m_from;
    ColorArray m_to;
    quint32 m_elapsed = 0;
    quint32 m_total = 0;
    quint32 m_fade = 0;

    // A chaser's frame as it rotates, and the program being played with its step marks.
    ColorArray m_frame;
    std::unique_ptr<t_program> m_program;
};

// The lamp count a controller's memory holds, as the window takes it from the controller: a count
// above 170 stands for the default.
int memoryLampCount(layout::ConstImage memory);

} // namespace lm740
