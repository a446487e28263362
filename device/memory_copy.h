// Copying the controller's whole settings memory to the computer and back: 512 pages of 256
// bytes, each page as four 64-byte blocks, strictly in address order, and a request at the end
// of the pass that lets the controller's main loop run again. Reading or writing a block twice
// does no harm, so a block that did not move is tried again, a bounded number of times, as long as
// the controller can still be found and identified; the end of the pass likewise. No widgets: the
// caller learns of each block and page through callbacks, and says through one whether to go on
// (that is where a window processes its events and looks at its cancel button).
#pragma once

#include "controller_link.h"

#include <QByteArray>

#include <functional>

namespace lm740 {

struct MemoryCopyCallbacks
{
    // Asked before and after every block. False stops the pass at once (the user cancelled).
    std::function<bool()> goOn;
    // After every block moved: its page and offset, and the bytes moved so far.
    std::function<void(int page, int offset, int bytes)> blockMoved;
    // After every whole page.
    std::function<void(int page)> pageMoved;
};

struct MemoryCopyResult
{
    enum class Outcome {
        Complete,    // all 131072 bytes moved, the end of the pass sent
        Cancelled,   // goOn() said no; the end of the pass sent
        BlockFailed, // a block did not move whole at any attempt; no end of the pass (the
                     // controller waits)
    };
    Outcome outcome = Outcome::Complete;
    int bytes = 0; // moved before the pass ended
    // The block that failed, and the transfer's result for it.
    int page = 0;
    int offset = 0;
    int transferResult = 0;
    // Whether the end-of-pass request got its one-byte answer (only when it was sent).
    bool mainLoopReleased = false;
    // Requests sent again after one that failed, blocks and end of pass together.
    int retries = 0;
};

class MemoryCopy
{
public:
    // The end-of-pass request says which way the pass went.
    static constexpr quint16 kReadPass = 0;
    static constexpr quint16 kWritePass = 1;
    // Tries of one block (or of the end of the pass) before the pass gives up on it, and the time
    // after its first failure past which it is not tried again (a controller that hangs costs a
    // time-out of a second for each request).
    static constexpr int kAttempts = 6;
    static constexpr qint64 kRetryMs = 2000;

    // Reads the whole memory into *image, which ends up holding the bytes read, in address
    // order: all of them, or as many as came before a cancel or a failed block.
    static MemoryCopyResult read(ControllerLink &link, QByteArray *image,
                                 const MemoryCopyCallbacks &callbacks = {});
    // Writes `image`, which must be exactly one settings image (a wrong size sends nothing and
    // fails at block 0 with result -1).
    static MemoryCopyResult write(ControllerLink &link, const QByteArray &image,
                                  const MemoryCopyCallbacks &callbacks = {});

private:
    using Transfer = std::function<int(int page, int offset, int at)>;
    static MemoryCopyResult pass(ControllerLink &link, quint16 direction, const Transfer &transfer,
                                 const MemoryCopyCallbacks &callbacks);
};

} // namespace lm740
