// What the window asks of the controller, on top of UsbDevice: settings memory byte by byte with
// 100 attempts per byte, scenes, chasers and program steps moved at their places in memory, the
// header parameters, 64-byte blocks, run commands and the upgrade requests. It knows no widgets:
// results come back as return values (-1 for failure) and progress through a callback.
#pragma once

#include "show.h"
#include "usb_device.h"

#include <QByteArray>

#include <functional>
#include <span>
#include <vector>

namespace lm740 {

class ControllerLink
{
public:
    static constexpr int kAttempts = 100; // per byte of settings memory

    // Percent done of a record transfer, as the window's progress bar shows it.
    using Progress = std::function<void(int percent)>;

    explicit ControllerLink(UsbDevice &device);

    UsbDevice &device() { return m_device; }

    // Identification: the 16-bit answer, or -1 when the controller did not answer exactly 2 bytes.
    int readId(quint16 value = 0);
    // The version text (up to its first zero byte) when exactly 32 bytes came back; the transfer's
    // result either way.
    int readVersion(QByteArray *text);

    // One attempt to read one byte. The transfer's result; *value is 0 unless it returned 1.
    int getByte(quint16 page, quint16 offset, char *value);
    // `length` bytes from `address` upward, each with up to 100 attempts. -1 as soon as one byte
    // fails (the bytes before it are stored), also for addresses outside settings memory.
    int getBytes(int address, char *dest, int length);
    // One byte with up to 100 attempts: 1, or -1.
    int setByte(int address, unsigned char byte);

    // Records, one request per byte in the controller's field order; 0 or -1. A read stores into
    // the record only when every byte arrived, so a failed read leaves the record as it was.
    int writeScene(const ColorArray &colors, int scene, int lamps, const Progress &progress = {});
    int readScene(ColorArray &colors, int scene, int lamps, const Progress &progress = {});
    int writeChaser(const t_chaser &chaser, int c, int lamps, const Progress &progress = {});
    int readChaser(t_chaser &chaser, int c, int lamps, const Progress &progress = {});
    int writeProgramScene(const t_program &program, int p, int step, int lamps,
                          const Progress &progress = {});
    int readProgramScene(t_program &program, int p, int step, int lamps,
                         const Progress &progress = {});
    int writeProgram(const t_program &program, int p, int lamps, const Progress &progress = {});
    int readProgram(t_program &program, int p, int lamps, const Progress &progress = {});

    // Run commands: 0 when the request went through, else -1. blackout() gives the raw result.
    int runScene(int scene);
    int runChaser(int chaser);
    int runProgram(int program);
    int blackout();

    // Whole-memory passes: the transfer's result (the caller checks for 64, or 1 for endPass).
    int readBlock(int page, int offset, unsigned char *block);
    int writeBlock(int page, int offset, const unsigned char *block);
    int endPass(quint16 value, quint16 index);

    // Firmware upgrade requests: the transfer's result.
    int upgradeData(int half, const unsigned char *data);
    int upgradeWrite(quint16 blockOffset);
    int upgradeRead(quint16 blockOffset, int half, unsigned char *data);

private:
    int sendAddresses(std::span<const quint8> image, const std::vector<int> &addresses,
                      int headerBytes, int lamps, const Progress &progress);
    int fetchAddresses(std::span<quint8> image, const std::vector<int> &addresses, int headerBytes,
                       int lamps, const Progress &progress);

    UsbDevice &m_device;
};

} // namespace lm740
