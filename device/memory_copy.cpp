#include "memory_copy.h"

#include "logging.h"
#include "settings_layout.h"

#include <QElapsedTimer>

namespace lm740 {

namespace {

// Sends one request of a pass until it gives `expected`, at most kAttempts times and for no more
// than kRetryMs after the first failure. Before each further try the controller is searched for
// again: when it is gone (not on the bus, or another device in its place) the request is not sent
// again. One that is there but lost its identification's answer too is tried again, as a poor
// cable loses any request. The last result.
int withRetries(ControllerLink &link, int expected, int *retries, const std::function<int()> &send)
{
    int r = send();
    QElapsedTimer since;
    since.start();
    for (int attempt = 1;
         r != expected && attempt < MemoryCopy::kAttempts && since.elapsed() < MemoryCopy::kRetryMs;
         ++attempt) {
        if (link.device().open() != 0 &&
            link.device().lastSearchResult() != UsbDevice::SearchResult::NotIdentified) {
            qCDebug(::lcUsb, "the controller is gone: no retry");
            break;
        }
        ++*retries;
        r = send();
    }
    return r;
}

} // namespace

MemoryCopyResult MemoryCopy::pass(ControllerLink &link, quint16 direction, const Transfer &transfer,
                                  const MemoryCopyCallbacks &callbacks)
{
    using Outcome = MemoryCopyResult::Outcome;
    MemoryCopyResult result;
    const auto goOn = [&callbacks] { return !callbacks.goOn || callbacks.goOn(); };
    int lastOffset = 0;
    for (int page = 0; page < layout::kPageCount && result.outcome == Outcome::Complete; ++page) {
        for (int block = 0; block < layout::kBlocksPerPage; ++block) {
            const int offset = block * layout::kBlockSize;
            qCDebug(::lcUsb, "Page: %d, offset: %d", page, offset);
            if (!goOn()) {
                result.outcome = Outcome::Cancelled;
                break;
            }
            lastOffset = offset;
            const int r = withRetries(link, layout::kBlockSize, &result.retries,
                                      [&] { return transfer(page, offset, result.bytes); });
            if (r != layout::kBlockSize) {
                qCDebug(::lcUsb, "r: %d", r);
                result.outcome = Outcome::BlockFailed;
                result.page = page;
                result.offset = offset;
                result.transferResult = r;
                return result;
            }
            result.bytes += layout::kBlockSize;
            if (callbacks.blockMoved)
                callbacks.blockMoved(page, offset, result.bytes);
            if (!goOn()) {
                result.outcome = Outcome::Cancelled;
                break;
            }
        }
        if (result.outcome == Outcome::Complete && callbacks.pageMoved)
            callbacks.pageMoved(page);
    }
    result.mainLoopReleased = withRetries(link, 1, &result.retries, [&] {
                                  return link.endPass(direction, quint16(lastOffset));
                              }) == 1;
    return result;
}

MemoryCopyResult MemoryCopy::read(ControllerLink &link, QByteArray *image,
                                  const MemoryCopyCallbacks &callbacks)
{
    QByteArray bytes(layout::kImageSize, '\0');
    auto *data = reinterpret_cast<unsigned char *>(bytes.data());
    const MemoryCopyResult result = pass(
        link, kReadPass,
        [&](int page, int offset, int at) { return link.readBlock(page, offset, data + at); },
        callbacks);
    bytes.truncate(result.bytes);
    if (image)
        *image = bytes;
    return result;
}

MemoryCopyResult MemoryCopy::write(ControllerLink &link, const QByteArray &image,
                                   const MemoryCopyCallbacks &callbacks)
{
    if (image.size() != layout::kImageSize) {
        MemoryCopyResult refused;
        refused.outcome = MemoryCopyResult::Outcome::BlockFailed;
        refused.transferResult = -1;
        return refused;
    }
    const auto *data = reinterpret_cast<const unsigned char *>(image.constData());
    return pass(
        link, kWritePass,
        [&](int page, int offset, int at) { return link.writeBlock(page, offset, data + at); },
        callbacks);
}

} // namespace lm740
