#include "controller_link.h"

#include "logging.h"
#include "settings_layout.h"
#include "usb_requests.h"

namespace lm740 {

namespace {

void traceValue(int page, int offset, int value)
{
    const int address = page * layout::kPageSize + offset;
    qCDebug(::lcUsb, "Page: %d, Offset: %d, Address: %d(%x)h = value: %d (%x)", page, offset,
            address, address, value, value);
}

void traceError(int page, int offset)
{
    const int address = page * layout::kPageSize + offset;
    qCDebug(::lcUsb, "Page: %d, Offset: %d, Address: %d(%x)h = value: error", page, offset, address,
            address);
}

constexpr int kStepHeaderBytes = 4; // time low, time high, cross-fade, last-step mark
constexpr int kChaserHeaderBytes = layout::kChaserColors;

// The walk of a record transfer over its addresses: the header bytes, then the lamps' bytes, each
// lamp announced to `progress` before its bytes go. `transfer` moves one address and says whether
// it went; 0 when all went, -1 at the first that did not.
template <typename Transfer>
int walkAddresses(const std::vector<int> &addresses, int headerBytes, int lamps,
                  const ControllerLink::Progress &progress, Transfer transfer)
{
    std::size_t i = 0;
    for (; i < std::size_t(headerBytes); ++i)
        if (!transfer(addresses[i]))
            return -1;
    for (int lamp = 0; i < addresses.size(); ++lamp) {
        if (progress)
            progress((100 * lamp + 100) / lamps);
        for (int k = 0; k < layout::kBytesPerLamp; ++k, ++i)
            if (!transfer(addresses[i]))
                return -1;
    }
    return 0;
}

std::vector<quint8> scratchImage()
{
    return std::vector<quint8>(layout::kImageSize, 0);
}

} // namespace

ControllerLink::ControllerLink(UsbDevice &device) : m_device(device) {}

int ControllerLink::readId(quint16 value)
{
    unsigned char id[usb::kIdLength] = {0, 0};
    if (m_device.controlIn(usb::LM_ID_REQUEST, value, 0, id, usb::kIdLength) != usb::kIdLength)
        return -1;
    return id[0] | (id[1] << 8);
}

int ControllerLink::readVersion(QByteArray *text)
{
    unsigned char buffer[usb::kVersionLength] = {};
    const int r = m_device.controlIn(usb::VERSION_REQUEST, 0, 0, buffer, usb::kVersionLength);
    if (r == usb::kVersionLength && text) {
        const auto *chars = reinterpret_cast<const char *>(buffer);
        *text = QByteArray(chars, qstrnlen(chars, usb::kVersionLength));
    }
    return r;
}

int ControllerLink::getByte(quint16 page, quint16 offset, char *value)
{
    unsigned char byte = 0;
    const int r = m_device.controlIn(usb::READ_MEMORY_REQUEST, page, offset, &byte, 1);
    if (r == 1)
        traceValue(page, offset, qint8(byte));
    else
        traceError(page, offset);
    if (value)
        *value = r == 1 ? char(byte) : 0;
    return r;
}

int ControllerLink::getBytes(int address, char *dest, int length)
{
    if (length < 0 || (length > 0 && !dest))
        return -1;
    for (int i = 0; i < length; ++i, ++address) {
        if (!layout::isAddress(address))
            return -1;
        const layout::PageOffset at = layout::split(address);
        int r = -1;
        char byte = 0;
        for (int attempt = 0; attempt < kAttempts && r != 1; ++attempt)
            r = getByte(quint16(at.page), quint16(at.offset), &byte);
        if (r != 1)
            return -1;
        dest[i] = byte;
    }
    return length;
}

int ControllerLink::setByte(int address, unsigned char byte)
{
    if (!layout::isAddress(address))
        return -1;
    const layout::PageOffset at = layout::split(address);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const int r = m_device.controlOut(usb::WRITE_BYTE_REQUEST, quint16(at.page),
                                          quint16(at.offset), &byte, 1);
        if (r == 1) {
            traceValue(at.page, at.offset, byte);
            return 1;
        }
        traceError(at.page, at.offset);
    }
    return -1;
}

int ControllerLink::sendAddresses(std::span<const quint8> image, const std::vector<int> &addresses,
                                  int headerBytes, int lamps, const Progress &progress)
{
    return walkAddresses(addresses, headerBytes, lamps, progress,
                         [&](int address) { return setByte(address, image[address]) >= 0; });
}

int ControllerLink::fetchAddresses(std::span<quint8> image, const std::vector<int> &addresses,
                                   int headerBytes, int lamps, const Progress &progress)
{
    return walkAddresses(addresses, headerBytes, lamps, progress, [&](int address) {
        char byte = 0;
        if (getBytes(address, &byte, 1) < 0)
            return false;
        image[address] = quint8(byte);
        return true;
    });
}

int ControllerLink::writeScene(const ColorArray &colors, int scene, int lamps,
                               const Progress &progress)
{
    lamps = boundedLampCount(lamps);
    std::vector<quint8> image = scratchImage();
    if (!layout::packScene(image, scene, colors, lamps))
        return -1;
    return sendAddresses(image, layout::sceneAddresses(scene, lamps), 0, lamps, progress);
}

int ControllerLink::readScene(ColorArray &colors, int scene, int lamps, const Progress &progress)
{
    lamps = boundedLampCount(lamps);
    if (!layout::isScene(scene))
        return -1;
    std::vector<quint8> image = scratchImage();
    if (fetchAddresses(image, layout::sceneAddresses(scene, lamps), 0, lamps, progress) < 0)
        return -1;
    layout::unpackScene(image, scene, colors, lamps);
    return 0;
}

int ControllerLink::writeChaser(const t_chaser &chaser, int c, int lamps, const Progress &progress)
{
    lamps = boundedLampCount(lamps);
    std::vector<quint8> image = scratchImage();
    if (!layout::packChaser(image, c, chaser, lamps))
        return -1;
    return sendAddresses(image, layout::chaserAddresses(c, lamps), kChaserHeaderBytes, lamps,
                         progress);
}

int ControllerLink::readChaser(t_chaser &chaser, int c, int lamps, const Progress &progress)
{
    lamps = boundedLampCount(lamps);
    if (!layout::isChaser(c))
        return -1;
    std::vector<quint8> image = scratchImage();
    if (fetchAddresses(image, layout::chaserAddresses(c, lamps), kChaserHeaderBytes, lamps,
                       progress) < 0)
        return -1;
    layout::unpackChaser(image, c, chaser, lamps);
    return 0;
}

int ControllerLink::writeProgramScene(const t_program &program, int p, int step, int lamps,
                                      const Progress &progress)
{
    lamps = boundedLampCount(lamps);
    if (!layout::isProgramStep(step))
        return -1;
    std::vector<quint8> image = scratchImage();
    if (!layout::packProgramStep(image, p, step, program.scenes[step], lamps))
        return -1;
    qCDebug(::lcUsb) << "program_number: " << p << "scene_number: " << step;
    return sendAddresses(image, layout::programStepAddresses(p, step, lamps), kStepHeaderBytes,
                         lamps, progress);
}

int ControllerLink::readProgramScene(t_program &program, int p, int step, int lamps,
                                     const Progress &progress)
{
    lamps = boundedLampCount(lamps);
    if (!layout::isProgram(p) || !layout::isProgramStep(step))
        return -1;
    std::vector<quint8> image = scratchImage();
    if (fetchAddresses(image, layout::programStepAddresses(p, step, lamps), kStepHeaderBytes, lamps,
                       progress) < 0)
        return -1;
    layout::unpackProgramStep(image, p, step, program.scenes[step], lamps);
    return 0;
}

int ControllerLink::writeProgram(const t_program &program, int p, int lamps,
                                 const Progress &progress)
{
    lamps = boundedLampCount(lamps);
    std::vector<quint8> image = scratchImage();
    if (!layout::packProgram(image, p, program, lamps))
        return -1;
    for (int step = 0; step < kProgramSteps; ++step) {
        if (progress)
            progress(100 * step / kProgramSteps);
        if (sendAddresses(image, layout::programStepAddresses(p, step, lamps), kStepHeaderBytes,
                          lamps, {}) < 0)
            return -1;
    }
    return 0;
}

int ControllerLink::readProgram(t_program &program, int p, int lamps, const Progress &progress)
{
    lamps = boundedLampCount(lamps);
    if (!layout::isProgram(p))
        return -1;
    std::vector<quint8> image = scratchImage();
    for (int step = 0; step < kProgramSteps; ++step) {
        if (progress)
            progress(100 * step / kProgramSteps);
        if (fetchAddresses(image, layout::programStepAddresses(p, step, lamps), kStepHeaderBytes,
                           lamps, {}) < 0)
            return -1;
    }
    layout::unpackProgram(image, p, program, lamps);
    return 0;
}

int ControllerLink::runScene(int scene)
{
    return m_device.controlOut(usb::RUN_SCENE_REQUEST, quint16(scene), 0, nullptr, 0) < 0 ? -1 : 0;
}

int ControllerLink::runChaser(int chaser)
{
    return m_device.controlOut(usb::RUN_CHASER_REQUEST, quint16(chaser), 0, nullptr, 0) < 0 ? -1
                                                                                            : 0;
}

int ControllerLink::runProgram(int program)
{
    return m_device.controlOut(usb::RUN_PROGRAM_REQUEST, quint16(program), 0, nullptr, 0) < 0 ? -1
                                                                                              : 0;
}

int ControllerLink::blackout()
{
    return m_device.controlOut(usb::BLACKOUT_REQUEST, 0, 0, nullptr, 0);
}

int ControllerLink::readBlock(int page, int offset, unsigned char *block)
{
    return m_device.controlIn(usb::READ_MEMORY_REQUEST, quint16(page), quint16(offset), block,
                              layout::kBlockSize);
}

int ControllerLink::writeBlock(int page, int offset, const unsigned char *block)
{
    // Without data the request would go out with no data stage and "succeed" with 0 bytes.
    if (!block)
        return -1;
    return m_device.controlOut(usb::WRITE_BLOCK_REQUEST, quint16(page), quint16(offset), block,
                               layout::kBlockSize);
}

int ControllerLink::endPass(quint16 value, quint16 index)
{
    unsigned char reply = 0;
    return m_device.controlIn(usb::END_PASS_REQUEST, value, index, &reply, 1);
}

int ControllerLink::upgradeData(int half, const unsigned char *data)
{
    if (!data)
        return -1;
    return m_device.controlOut(usb::UPGRADE_DATA_REQUEST, quint16(half), 0, data,
                               usb::kMaxControlPayload);
}

int ControllerLink::upgradeWrite(quint16 blockOffset)
{
    return m_device.controlOut(usb::UPGRADE_WRITE_REQUEST, blockOffset, 0, nullptr, 0);
}

int ControllerLink::upgradeRead(quint16 blockOffset, int half, unsigned char *data)
{
    return m_device.controlIn(usb::UPGRADE_READ_REQUEST, blockOffset, quint16(half), data,
                              usb::kMaxControlPayload);
}

} // namespace lm740
