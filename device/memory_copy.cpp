#include "memory_copy.h"

#include "logging.h"
#include "settings_layout.h"

namespace lm740 {

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
            const int r = transfer(page, offset, result.bytes);
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
    result.mainLoopReleased = link.endPass(direction, quint16(lastOffset)) == 1;
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
