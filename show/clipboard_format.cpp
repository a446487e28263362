#include "clipboard_format.h"

namespace lm740 {

QByteArray packSelectedChannels(std::span<const LampChannels> lamps)
{
    QByteArray bytes;
    for (const LampChannels &l : lamps) {
        if (l.selected & RedChannel)
            bytes.append(char(l.color.red()));
        if (l.selected & GreenChannel)
            bytes.append(char(l.color.green()));
        if (l.selected & BlueChannel)
            bytes.append(char(l.color.blue()));
    }
    return bytes;
}

int unpackIntoSelectedChannels(const QByteArray &payload, std::span<LampChannels> lamps)
{
    if (payload.isEmpty())
        return 0;
    qsizetype k = 0;
    int written = 0;
    auto next = [&] {
        const int v = quint8(payload[k]);
        k = (k + 1) % payload.size();
        ++written;
        return v;
    };
    for (LampChannels &l : lamps) {
        if (l.selected & RedChannel)
            l.color.setRed(next());
        if (l.selected & GreenChannel)
            l.color.setGreen(next());
        if (l.selected & BlueChannel)
            l.color.setBlue(next());
    }
    return written;
}

} // namespace lm740
