// Replacing the controller's firmware while it runs in its upgrade mode: who and what it is, the
// image sent in 128-byte blocks (each as two 64-byte halves, then programmed, then waited for),
// and the image read back and compared. No widgets: the caller learns of the progress and says
// whether to go on through callbacks, between every two transfers.
#pragma once

#include "controller_link.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>

namespace lm740::upgrade {

inline constexpr int kBlockSize = 128;
inline constexpr int kHalfSize = 64;
// After programming a block the controller does not answer for a while; it is asked this many
// times whether it is ready again.
inline constexpr int kReadinessAttempts = 10;
// Block offsets travel as 16 bits.
inline constexpr qsizetype kMaxImageSize = 0x10000;

constexpr int blocksOf(qint64 bytes)
{
    return int((bytes + kBlockSize - 1) / kBlockSize);
}
constexpr int halvesOf(qint64 bytes)
{
    return int((bytes + kHalfSize - 1) / kHalfSize);
}

struct Callbacks
{
    // Asked between transfers (the caller processes its events here). False stops: cancelled.
    std::function<bool()> goOn;
    // Blocks sent so far, or halves compared so far.
    std::function<void(int done)> progress;
};

// What the controller says before an upgrade: whether it is there, is an Lm740, and which
// release it runs. The device is left open when it was found.
struct Identity
{
    enum class State {
        Ready,
        NotDetected,    // no controller found
        NotIdentified,  // the identification did not come back as 2 bytes
        OtherDevice,    // it answered, but not as an Lm740
        NoVersion,      // the version did not come back as 32 bytes
        UnknownVersion, // the version text carries no release number
    };
    State state = State::NotDetected;
    int id = -1;
    QByteArray versionText;
    int release = -1;
};
Identity identify(ControllerLink &link);

struct SendResult
{
    enum class State {
        Sent,
        Cancelled,
        DataRefused, // a half was not taken whole
        NotReady,    // the controller did not come back after programming a block
    };
    State state = State::Sent;
    int blocksSent = 0;
};
// Sends `image` (at most kMaxImageSize bytes) block by block. A short last block goes as whole
// halves (one half when it has at most 64 bytes), its missing bytes as 0xFF, the value of erased
// flash.
SendResult sendImage(ControllerLink &link, QByteArrayView image, const Callbacks &callbacks = {});

enum class VerifyResult { Same, Different, Cancelled, ReadFailed };
// Reads the programmed image back half by half (both halves of the last block) and compares it
// with `image`.
VerifyResult verifyImage(ControllerLink &link, QByteArrayView image,
                         const Callbacks &callbacks = {});

} // namespace lm740::upgrade
