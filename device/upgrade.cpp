#include "upgrade.h"

#include "logging.h"
#include "release.h"
#include "usb_requests.h"

#include <algorithm>
#include <cstring>

namespace lm740::upgrade {

namespace {

bool goOn(const Callbacks &callbacks)
{
    return !callbacks.goOn || callbacks.goOn();
}

} // namespace

Identity identify(ControllerLink &link)
{
    using State = Identity::State;
    Identity identity;
    if (link.device().open() == -1)
        return identity;
    identity.id = link.readId();
    qCDebug(::lcUpgrade) << "LMID: " << identity.id;
    if (identity.id == -1) {
        identity.state = State::NotIdentified;
        return identity;
    }
    if (identity.id != usb::kLm740Id) {
        identity.state = State::OtherDevice;
        return identity;
    }
    if (link.readVersion(&identity.versionText) != usb::kVersionLength) {
        identity.state = State::NoVersion;
        return identity;
    }
    identity.release = releaseNumber(QString::fromLatin1(identity.versionText));
    qCDebug(::lcUpgrade) << "release in device: " << identity.release;
    identity.state = identity.release == -1 ? State::UnknownVersion : State::Ready;
    return identity;
}

namespace {

// While it lives, a search of the link asks the controller once what it is: during an upgrade each
// identification is one attempt of the readiness poll, which may not be asked again behind it.
class AskedOnce
{
public:
    explicit AskedOnce(UsbDevice &device) : m_device(device), m_was(device.identifyAttempts())
    {
        m_device.setIdentifyAttempts(1);
    }
    ~AskedOnce() { m_device.setIdentifyAttempts(m_was); }
    AskedOnce(const AskedOnce &) = delete;
    AskedOnce &operator=(const AskedOnce &) = delete;

private:
    UsbDevice &m_device;
    int m_was;
};

} // namespace

SendResult sendImage(ControllerLink &link, QByteArrayView image, const Callbacks &callbacks)
{
    using State = SendResult::State;
    SendResult result;
    const AskedOnce askedOnce(link.device());
    if (image.size() > kMaxImageSize) {
        result.state = State::DataRefused;
        return result;
    }
    for (qsizetype at = 0; at < image.size(); at += kBlockSize) {
        const auto blockOffset = quint16(at);
        const qsizetype length = std::min<qsizetype>(kBlockSize, image.size() - at);
        unsigned char block[kBlockSize];
        std::memset(block, 0xFF, sizeof block);
        std::memcpy(block, image.data() + at, std::size_t(length));

        const int halves = length > kHalfSize ? 2 : 1;
        for (int half = 0; half < halves; ++half) {
            if (link.upgradeData(half, block + half * kHalfSize) != kHalfSize) {
                result.state = State::DataRefused;
                return result;
            }
            if (!goOn(callbacks)) {
                result.state = State::Cancelled;
                return result;
            }
        }
        // The controller takes the block only after it was asked for its id once more.
        link.readId(quint16(halves - 1));
        link.upgradeWrite(blockOffset);
        if (!goOn(callbacks)) {
            result.state = State::Cancelled;
            return result;
        }
        bool ready = false;
        for (int attempt = 0; attempt < kReadinessAttempts && !ready; ++attempt) {
            // One identification per attempt: asked on the link when it is open; after a failed
            // one has closed it, the question of the search that opens it again is the attempt.
            ready = link.device().isOpen() == 0 ? link.readId(blockOffset) != -1
                                                : link.device().open() == 0;
            if (!goOn(callbacks)) {
                result.state = State::Cancelled;
                return result;
            }
        }
        if (!ready) {
            result.state = State::NotReady;
            return result;
        }
        ++result.blocksSent;
        if (callbacks.progress)
            callbacks.progress(result.blocksSent);
    }
    return result;
}

VerifyResult verifyImage(ControllerLink &link, QByteArrayView image, const Callbacks &callbacks)
{
    int halvesRead = 0;
    for (qsizetype blockOffset = 0; blockOffset < image.size(); blockOffset += kBlockSize) {
        for (int half = 0; half < 2; ++half) {
            unsigned char answer[kHalfSize];
            if (link.upgradeRead(quint16(blockOffset), half, answer) != kHalfSize)
                return VerifyResult::ReadFailed;
            const qsizetype at = blockOffset + half * kHalfSize;
            const qsizetype compared = std::clamp<qsizetype>(image.size() - at, 0, kHalfSize);
            if (compared > 0 && std::memcmp(answer, image.data() + at, std::size_t(compared)) != 0)
                return VerifyResult::Different;
            if (callbacks.progress)
                callbacks.progress(++halvesRead);
            if (!goOn(callbacks))
                return VerifyResult::Cancelled;
        }
    }
    return VerifyResult::Same;
}

} // namespace lm740::upgrade
