// What the Lm740 understands over USB: its ids, the vendor request codes and the transport's
// fixed numbers. Shared by the link, the transport and the simulated controller.
#pragma once

#include <QtGlobal>

namespace lm740::usb {

inline constexpr quint16 kVendorId = 0x16C0;
inline constexpr quint16 kProductId = 0x0781;
inline constexpr quint16 kLm740Id = 740; // the identification answer, little-endian

inline constexpr int kConfiguration = 1;
inline constexpr int kInterface = 0;
inline constexpr quint8 kRequestTypeOut = 0x40; // vendor, device recipient, host to device
inline constexpr quint8 kRequestTypeIn = 0xC0;  // vendor, device recipient, device to host
inline constexpr int kMaxControlPayload = 64;
inline constexpr unsigned kTimeoutMs = 1000;
inline constexpr quint8 kBulkOutEndpoint = 0x02;
inline constexpr quint8 kBulkInEndpoint = 0x81;

inline constexpr int kIdLength = 2;
inline constexpr int kVersionLength = 32;
inline constexpr int kUpgradeBlockSize = 128; // two halves of kMaxControlPayload

// Vendor request codes.
inline constexpr quint8 UPGRADE_DATA_REQUEST = 1;  // out, wValue half, 64 bytes
inline constexpr quint8 UPGRADE_WRITE_REQUEST = 2; // out, wValue block offset, no data
inline constexpr quint8 VERSION_REQUEST = 4;       // in, 32 bytes of text
inline constexpr quint8 UPGRADE_READ_REQUEST = 5;  // in, wValue block offset, wIndex half, 64
inline constexpr quint8 WRITE_BLOCK_REQUEST = 6;   // out, wValue page, wIndex offset, 64 bytes
inline constexpr quint8 READ_MEMORY_REQUEST = 7;   // in, wValue page, wIndex offset, 1 or 64
inline constexpr quint8 END_PASS_REQUEST = 9;      // in, wValue 0 read / 1 write, 1 byte
inline constexpr quint8 WRITE_BYTE_REQUEST = 12;   // out, wValue page, wIndex offset, 1 byte
inline constexpr quint8 RUN_SCENE_REQUEST = 16;    // out, wValue scene, no data
inline constexpr quint8 RUN_CHASER_REQUEST = 17;   // out, wValue chaser, no data
inline constexpr quint8 RUN_PROGRAM_REQUEST = 18;  // out, wValue program, no data
inline constexpr quint8 BLACKOUT_REQUEST = 19;     // out, no data
inline constexpr quint8 LM_ID_REQUEST = 0xFF;      // in, 2 bytes

} // namespace lm740::usb
