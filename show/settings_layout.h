// The controller's settings memory: every address this program uses, in one place, with the
// packing of scenes, chasers and programs into and out of it. The same bytes form a .set file.
#pragma once

#include "show.h"

#include <QtGlobal>

#include <span>
#include <vector>

namespace lm740::layout {

inline constexpr int kImageSize = 0x20000; // 131072 bytes
inline constexpr int kPageSize = 256;
inline constexpr int kPageCount = kImageSize / kPageSize;
inline constexpr int kBlockSize = 64; // one control transfer of a whole-memory pass
inline constexpr int kBlocksPerPage = kPageSize / kBlockSize;

// Header. Only the named fields mean something to this program; the other header bytes are
// written with fixed values by the settings file writers.
inline constexpr int kHeaderSize = 14;
inline constexpr int kHeaderByte0 = 0;
inline constexpr int kHeaderByte1 = 1;
inline constexpr int kLampsNumber = 2;
inline constexpr int kChannelCountLow = 3;
inline constexpr int kChannelCountHigh = 4;
inline constexpr int kHeaderByte7 = 7;
inline constexpr int kNumberNow = 8;
inline constexpr int kHeaderByte11 = 11;
inline constexpr int kColorMode = 12;
inline constexpr int kInSceneTime = 13; // global scene time, whole seconds

inline constexpr int kBytesPerLamp = 3;                       // red, green, blue
inline constexpr int kColorsSize = kMaxLamps * kBytesPerLamp; // 510: room for 170 lamps

// Scene area: 10 records of lamp colours only.
inline constexpr int kSceneArea = 0x5000;
inline constexpr int kSceneSize = kColorsSize;

// Chaser area: 4 records of 516 bytes.
inline constexpr int kChaserArea = 0x6400;
inline constexpr int kChaserSize = 516;
inline constexpr int kChaserTime = 0; // 16 bits, 100 ms units
inline constexpr int kChaserXfade = 2;
inline constexpr int kChaserDirection = 3;
inline constexpr int kChaserPatternLen = 4;
inline constexpr int kChaserRepeat = 5;
inline constexpr int kChaserColors = 6;

// Program area: 4 records of 15934 bytes, each field grouped over the 31 steps.
inline constexpr int kProgramArea = 0x7000;
inline constexpr int kProgramSize = 15934;
inline constexpr int kProgramTimes = 0; // 2 bytes per step
inline constexpr int kProgramXfades = 62;
inline constexpr int kProgramLastSteps = 93;
inline constexpr int kProgramColors = 124; // 510 bytes per step
inline constexpr int kProgramAreaEnd = kProgramArea + kProgramCount * kProgramSize; // 0x168F8

constexpr bool isAddress(int address)
{
    return address >= 0 && address < kImageSize;
}
constexpr bool isScene(int s)
{
    return s >= 0 && s < kSceneCount;
}
constexpr bool isChaser(int c)
{
    return c >= 0 && c < kChaserCount;
}
constexpr bool isProgram(int p)
{
    return p >= 0 && p < kProgramCount;
}
constexpr bool isProgramStep(int s)
{
    return s >= 0 && s < kProgramSteps;
}

constexpr int sceneAddress(int s)
{
    return kSceneArea + kSceneSize * s;
}
constexpr int sceneLampAddress(int s, int lamp)
{
    return sceneAddress(s) + kBytesPerLamp * lamp;
}

constexpr int chaserAddress(int c)
{
    return kChaserArea + kChaserSize * c;
}
constexpr int chaserLampAddress(int c, int lamp)
{
    return chaserAddress(c) + kChaserColors + kBytesPerLamp * lamp;
}

constexpr int programAddress(int p)
{
    return kProgramArea + kProgramSize * p;
}
constexpr int programStepTimeAddress(int p, int step)
{
    return programAddress(p) + kProgramTimes + 2 * step;
}
constexpr int programStepXfadeAddress(int p, int step)
{
    return programAddress(p) + kProgramXfades + step;
}
constexpr int programStepLastStepAddress(int p, int step)
{
    return programAddress(p) + kProgramLastSteps + step;
}
constexpr int programStepLampAddress(int p, int step, int lamp)
{
    return programAddress(p) + kProgramColors + kColorsSize * step + kBytesPerLamp * lamp;
}

// A settings memory address as the controller's requests carry it: the page in wValue and the
// offset in wIndex.
struct PageOffset
{
    int page = 0;
    int offset = 0;
};
constexpr PageOffset split(int address)
{
    const int page = address / kPageSize;
    return {page, address - page * kPageSize};
}

// Step times: milliseconds in the show, 16-bit counts of 100 ms in memory. Longer times than the
// field can hold are stored as the longest it can hold rather than wrapped around.
constexpr quint16 timeToCount(quint32 ms)
{
    const quint32 count = ms / 100;
    return count > 0xFFFF ? quint16(0xFFFF) : quint16(count);
}
constexpr quint32 countToTime(quint16 count)
{
    return quint32(count) * 100;
}

// The addresses of a record in the order they travel to and from the controller, one request per
// byte: header fields first, then lamp by lamp. Only lamps below `lamps` (bounded to 0..170) are
// listed. An invalid record number gives an empty list.
std::vector<int> sceneAddresses(int s, int lamps);
std::vector<int> chaserAddresses(int c, int lamps);
std::vector<int> programStepAddresses(int p, int step, int lamps);
std::vector<int> programAddresses(int p, int lamps); // steps 0 to 30, one after the other

// Packing into and out of a whole image (kImageSize bytes). Only lamps below `lamps` are touched.
// They return false, touching nothing, for an invalid record number or an image of the wrong size.
using Image = std::span<quint8>;
using ConstImage = std::span<const quint8>;

bool packScene(Image image, int s, const ColorArray &colors, int lamps);
bool unpackScene(ConstImage image, int s, ColorArray &colors, int lamps);
bool packChaser(Image image, int c, const t_chaser &chaser, int lamps);
bool unpackChaser(ConstImage image, int c, t_chaser &chaser, int lamps);
bool packProgramStep(Image image, int p, int step, const t_program_scene &scene, int lamps);
bool unpackProgramStep(ConstImage image, int p, int step, t_program_scene &scene, int lamps);
bool packProgram(Image image, int p, const t_program &program, int lamps);
bool unpackProgram(ConstImage image, int p, t_program &program, int lamps);

} // namespace lm740::layout
