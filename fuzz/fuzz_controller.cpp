// A controller that answers anything: the fuzzer's bytes decide, request by request, whether the
// bus lists a device, whether it opens, and what every control transfer gives back (an error, a
// short or whole answer, and its bytes). On that bus the real UsbDevice and ControllerLink run
// identification, the status poll, every record transfer, the parameters, the run commands, a
// whole-memory pass each way and the upgrade sequence. Besides crashes and sanitizer reports it
// checks what the link promises callers: results in their ranges, and a record that a failed read
// leaves as it was. The first byte picks the operation that goes first, so that every one of them
// meets fresh input; once the input is used up the device is gone and everything fails at once.
#include "controller_link.h"
#include "memory_copy.h"
#include "release.h"
#include "settings_layout.h"
#include "upgrade.h"
#include "usb_bus.h"
#include "usb_device.h"
#include "usb_requests.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>

using namespace lm740;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

class FuzzBus : public UsbBus
{
public:
    explicit FuzzBus(QByteArrayView input) : m_input(input) {}

    bool exhausted() const { return m_at >= m_input.size(); }

    std::vector<UsbBusDevice> listDevices() override
    {
        std::vector<UsbBusDevice> devices;
        if (exhausted())
            return devices;
        const quint8 b = next();
        const int count = 1 + (b & 1);
        for (int i = 0; i < count; ++i) {
            UsbBusDevice d;
            d.vendorId = (b & 2) && i == 0 ? 0x1234 : usb::kVendorId;
            d.productId = usb::kProductId;
            d.busNumber = 1;
            d.address = i + 1;
            d.index = i;
            devices.push_back(d);
        }
        m_listed = count;
        return devices;
    }
    int open(const UsbBusDevice &device, UsbHandle *handle) override
    {
        *handle = nullptr;
        check(device.index >= 0 && device.index < m_listed);
        if (exhausted())
            return ErrorNoDevice;
        switch (next() % 8) {
        case 0:
            return ErrorAccess;
        case 1:
            return ErrorIo;
        default:
            ++m_open;
            *handle = reinterpret_cast<UsbHandle>(this);
            return 0;
        }
    }
    void close(UsbHandle handle) override
    {
        check(handle == reinterpret_cast<UsbHandle>(this) && m_open > 0);
        --m_open;
    }
    int setConfiguration(UsbHandle, int) override { return 0; }
    int claimInterface(UsbHandle, int) override { return 0; }
    int releaseInterface(UsbHandle, int) override { return 0; }
    int controlTransfer(UsbHandle handle, quint8 requestType, quint8 request, quint16, quint16,
                        unsigned char *data, quint16 length, unsigned) override
    {
        check(handle == reinterpret_cast<UsbHandle>(this));
        check(length <= usb::kMaxControlPayload && (length == 0 || data));
        if (exhausted())
            return ErrorNoDevice;
        const quint8 c = next();
        static constexpr int kErrors[] = {ErrorIo,       ErrorTimeout,  ErrorPipe,
                                          ErrorNoDevice, ErrorOverflow, ErrorOther};
        if (c < 0x18)
            return kErrors[c % std::size(kErrors)];
        // Mostly whole answers; from 0x80 on, any length up to the one asked for.
        const int n = c < 0x80 ? length : (c - 0x80) % (length + 1);
        if (requestType != usb::kRequestTypeIn)
            return n;
        if (c < 0x30 && request == usb::LM_ID_REQUEST && n == usb::kIdLength) {
            data[0] = quint8(usb::kLm740Id & 0xFF); // an easy way to a controller that answers
            data[1] = quint8(usb::kLm740Id >> 8);
            return n;
        }
        for (int i = 0; i < n; ++i)
            data[i] = exhausted() ? 0 : next();
        return n;
    }
    int bulkTransfer(UsbHandle, quint8, unsigned char *, int, unsigned) override
    {
        return ErrorPipe;
    }

    quint8 byte() { return exhausted() ? 0 : next(); }
    int openHandles() const { return m_open; }

private:
    quint8 next() { return quint8(m_input[m_at++]); }

    QByteArrayView m_input;
    qsizetype m_at = 0;
    int m_listed = 0;
    int m_open = 0;
};

void identification(FuzzBus &, UsbDevice &device, ControllerLink &link)
{
    const int opened = device.open();
    check(opened == 0 || opened == -1);
    check((opened == 0) == (device.lastSearchResult() == UsbDevice::SearchResult::Found));
    const int id = link.readId();
    check(id >= -1 && id <= 0xFFFF);
}

void statusPoll(FuzzBus &, UsbDevice &device, ControllerLink &link)
{
    if (device.open() != 0)
        return;
    QByteArray text = "before";
    const int r = link.readVersion(&text);
    check(r == usb::kVersionLength ? text.size() <= usb::kVersionLength : text == "before");
    if (r == usb::kVersionLength)
        check(releaseNumber(QString::fromLatin1(text)) >= -1);
}

// A read that fails leaves its record as it was.
template <typename Record, typename Read> void readRecord(Record &record, Read read)
{
    const Record before = record;
    if (read() == -1)
        check(record == before);
}

void records(FuzzBus &bus, UsbDevice &, ControllerLink &link)
{
    const int lamps = 1 + bus.byte() % kMaxLamps;
    const int number = bus.byte();
    auto show = std::make_unique<Show>();
    show->setShowDefaults();
    show->sceneColors[1][0] = QColor(1, 2, 3);
    ColorArray &scene = show->sceneColors[number % kSceneCount];
    t_chaser &chaser = show->chasers[number % kChaserCount];
    t_program &program = show->programs[number % kProgramCount];
    const int step = number % kProgramSteps;
    check(link.writeScene(scene, number % kSceneCount, lamps) >= -1);
    readRecord(scene, [&] { return link.readScene(scene, number % kSceneCount, lamps); });
    check(link.writeChaser(chaser, number % kChaserCount, lamps) >= -1);
    readRecord(chaser, [&] { return link.readChaser(chaser, number % kChaserCount, lamps); });
    check(link.writeProgramScene(program, number % kProgramCount, step, lamps) >= -1);
    readRecord(program,
               [&] { return link.readProgramScene(program, number % kProgramCount, step, lamps); });
    check(link.writeProgram(program, number % kProgramCount, lamps) >= -1);
    readRecord(program, [&] { return link.readProgram(program, number % kProgramCount, lamps); });
}

void parameters(FuzzBus &bus, UsbDevice &, ControllerLink &link)
{
    char bytes[3] = {};
    const int address = bus.byte() * 512 + bus.byte() * 2 - 3; // now and then outside memory
    const int r = link.getBytes(address, bytes, 3);
    check(r >= -1);
    if (address < 0 || address + 3 > layout::kImageSize)
        check(r == -1);
    const int set = link.setByte(address, quint8(bytes[0]));
    check(set == 1 || set == -1);
}

void runCommands(FuzzBus &bus, UsbDevice &, ControllerLink &link)
{
    const int n = bus.byte();
    for (const int r : {link.runScene(n % 12), link.runChaser(n % 6), link.runProgram(n % 6)})
        check(r == 0 || r == -1);
    link.blackout();
}

void memoryPasses(FuzzBus &bus, UsbDevice &, ControllerLink &link)
{
    QByteArray image;
    int blocks = 0;
    MemoryCopyCallbacks callbacks;
    callbacks.blockMoved = [&](int, int, int bytes) { check(bytes == ++blocks * 64); };
    const MemoryCopyResult read = MemoryCopy::read(link, &image, callbacks);
    check(image.size() == read.bytes && read.bytes % layout::kBlockSize == 0);
    check((read.outcome == MemoryCopyResult::Outcome::Complete) ==
          (read.bytes == layout::kImageSize));
    check(read.retries >= 0);
    const int cancelAt = bus.byte();
    int asked = 0;
    callbacks.goOn = [&] { return ++asked < cancelAt * 4; };
    blocks = 0;
    const MemoryCopyResult write =
        MemoryCopy::write(link, QByteArray(layout::kImageSize, '\x5A'), callbacks);
    check(write.bytes == blocks * 64 && write.bytes <= layout::kImageSize);
    if (write.outcome == MemoryCopyResult::Outcome::BlockFailed)
        check(write.page * layout::kPageSize + write.offset == write.bytes);
}

void upgradeSequence(FuzzBus &bus, UsbDevice &, ControllerLink &link)
{
    const upgrade::Identity identity = upgrade::identify(link);
    check(identity.state != upgrade::Identity::State::Ready || identity.release >= 0);
    QByteArray image(64 + bus.byte() * 2, '\0');
    for (qsizetype i = 0; i < image.size(); ++i)
        image[i] = char(i * 7);
    int last = 0;
    upgrade::Callbacks callbacks;
    callbacks.progress = [&](int done) {
        check(done == last + 1);
        last = done;
    };
    const upgrade::SendResult sent = upgrade::sendImage(link, image, callbacks);
    check(sent.blocksSent == last && sent.blocksSent <= upgrade::blocksOf(image.size()));
    if (sent.state == upgrade::SendResult::State::Sent)
        check(sent.blocksSent == upgrade::blocksOf(image.size()));
    last = 0;
    upgrade::verifyImage(link, image, callbacks);
    check(last <= 2 * upgrade::blocksOf(image.size()));
}

using Operation = void (*)(FuzzBus &, UsbDevice &, ControllerLink &);
constexpr Operation kOperations[] = {identification, statusPoll,   records,        parameters,
                                     runCommands,    memoryPasses, upgradeSequence};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    FuzzBus bus(bytes);
    {
        UsbDevice device(bus);
        device.setIds(usb::kVendorId, usb::kProductId);
        ControllerLink link(device);
        const std::size_t first = data[0] % std::size(kOperations);
        for (std::size_t i = 0; i < std::size(kOperations); ++i)
            kOperations[(first + i) % std::size(kOperations)](bus, device, link);
    }
    check(bus.openHandles() == 0); // nothing left open
    return 0;
}
