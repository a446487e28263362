// The colour values the editor copies to the system clipboard: one byte per selected channel, lamps
// in order and red, green, blue within a lamp, with no header, count or lamp numbers. Pasting maps
// values to the selected channels of the target by position only, repeating a short payload from
// its start and cutting a long one.
#pragma once

#include <QByteArray>
#include <QColor>

#include <span>

namespace lm740 {

// The clipboard format of a copy that holds values, and the one of a copy with nothing selected.
inline constexpr char kColorArrayMime[] = "color_array";
inline constexpr char kNoDataMime[] = "no_data";

// The channels of one lamp that take part in a copy or a paste.
enum ChannelBit : quint8 { RedChannel = 0x01, GreenChannel = 0x02, BlueChannel = 0x04 };

struct LampChannels
{
    QColor color;
    quint8 selected = 0; // ChannelBit values
};

// The bytes of the selected channels of `lamps`.
QByteArray packSelectedChannels(std::span<const LampChannels> lamps);

// Writes `payload`'s values into the selected channels of `lamps`, reusing the payload from its
// start when it runs out, and returns the number of channels written. An empty payload writes
// nothing.
int unpackIntoSelectedChannels(const QByteArray &payload, std::span<LampChannels> lamps);

} // namespace lm740
