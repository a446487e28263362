#include "sim_controller.h"

#include "logging.h"
#include "settings_image.h"
#include "upgrade_file.h"
#include "usb_bus.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

namespace lm740 {

namespace {

// A fresh controller holds the show a fresh program start shows: 30 black lamps, one second.
// Black lamps are zero bytes, which the new memory holds already: only the items' times and modes
// are packed (with no lamps).
void fillFreshShow(std::vector<quint8> &memory)
{
    t_chaser chaser;
    setDefaults(chaser);
    for (int c = 0; c < kChaserCount; ++c)
        layout::packChaser(memory, c, chaser, 0);
    t_program_scene step;
    setDefaults(step);
    for (int p = 0; p < kProgramCount; ++p)
        for (int s = 0; s < kProgramSteps; ++s)
            layout::packProgramStep(memory, p, s, step, 0);
    const int lamps = kDefaultLamps;
    memory[layout::kLampsNumber] = quint8(lamps);
    memory[layout::kChannelCountLow] = quint8((3 * lamps) & 0xFF);
    memory[layout::kChannelCountHigh] = quint8((3 * lamps) >> 8);
    memory[layout::kInSceneTime] = quint8(kMinSceneTime);
}

bool inMemory(int address, int length)
{
    return address >= 0 && length >= 0 && address + length <= layout::kImageSize;
}

} // namespace

SimController::SimController()
    : m_memory(layout::kImageSize, 0), m_firmware(kFirmwareSize, 0xFF), m_random(0)
{
    fillFreshShow(m_memory);
    setRelease(0, 16);
    m_player.run(m_memory, SimPlayer::Item::Scene, 0);
}

bool SimController::tick()
{
    if (m_mainLoopHeld || m_upgradeMode)
        return false;
    return m_player.tick(m_memory);
}

void SimController::catchUp(qint64 ms)
{
    if (!m_mainLoopHeld && !m_upgradeMode)
        m_player.advance(m_memory, ms);
}

void SimController::remember(const Request &request)
{
    if (!m_recent.empty() && m_recent.front().sameAs(request)) {
        if (++m_recent.front().times == 2)
            ++m_recentRevision;
        return;
    }
    m_recent.push_front(request);
    if (m_recent.size() > std::size_t(kRecentRequests))
        m_recent.pop_back();
    ++m_recentRevision;
}

void SimController::setRelease(int major, int minor)
{
    m_version =
        QStringLiteral("rel_%1_%2").arg(major).arg(minor, 2, 10, QLatin1Char('0')).toLatin1();
}

void SimController::setFailureProbability(double probability, quint32 seed)
{
    m_failureProbability = probability;
    m_random.seed(seed);
}

void SimController::setUnplugSchedule(int afterTransfers, int backAfterSearches)
{
    m_unplugAfter = std::max(0, afterTransfers);
    m_plugBackAfter = std::max(1, backAfterSearches);
    m_untilUnplug = m_unplugAfter;
    m_away = 0;
}

void SimController::missedSearch()
{
    if (m_away > 0 && --m_away == 0) {
        m_untilUnplug = m_unplugAfter;
        if (m_activity)
            m_activity();
    }
}

bool SimController::loadSettings(const QString &fileName, QString *error)
{
    QByteArray bytes;
    if (!image::readSettingsFile(fileName, &bytes, error))
        return false;
    std::memcpy(m_memory.data(), bytes.constData(), std::size_t(layout::kImageSize));
    m_player.restart(m_memory); // as when it is switched on with this memory
    return true;
}

bool SimController::saveSettings(const QString &fileName, QString *error) const
{
    const QByteArray bytes(reinterpret_cast<const char *>(m_memory.data()), layout::kImageSize);
    return image::writeSettingsFile(fileName, bytes, error);
}

int SimController::injectedFault(int request, unsigned timeoutMs)
{
    if (m_requestFault.count > 0 && request == m_requestFault.request) {
        if (m_requestFault.after > 0) {
            --m_requestFault.after;
        } else {
            --m_requestFault.count;
            return UsbBus::ErrorIo;
        }
    }
    if (m_timeOutNext > 0) {
        --m_timeOutNext;
        m_elapsedUs += qint64(timeoutMs) * 1000;
        return UsbBus::ErrorTimeout;
    }
    if (m_failNext > 0) {
        --m_failNext;
        return UsbBus::ErrorIo;
    }
    if (m_failureProbability > 0.0 &&
        std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < m_failureProbability)
        return UsbBus::ErrorIo;
    return 0;
}

int SimController::control(quint8 requestType, quint8 request, quint16 value, quint16 index,
                           unsigned char *data, quint16 length, unsigned timeoutMs)
{
    if (m_away > 0)
        return UsbBus::ErrorNoDevice;
    if (m_unplugAfter > 0 && --m_untilUnplug == 0)
        m_away = m_plugBackAfter; // this transfer is the last one before it goes
    ++m_transfers;
    m_elapsedUs += m_latencyUs;
    if (m_realLatency && m_latencyUs > 0) {
        // Each sleep wakes a little late; keeping to a schedule stops the lateness from adding
        // up over a long transfer. After a pause (a tenth of a second behind) it starts afresh.
        const auto latency = std::chrono::microseconds(m_latencyUs);
        const auto now = std::chrono::steady_clock::now();
        if (m_due < now - std::chrono::milliseconds(100))
            m_due = now;
        m_due += latency;
        std::this_thread::sleep_until(m_due);
    }
    const bool in = requestType == usb::kRequestTypeIn;

    int r = injectedFault(request, timeoutMs);
    bool cutShort = false;
    if (m_shortRequest.count > 0 && m_shortRequest.request == request) {
        --m_shortRequest.count;
        cutShort = true;
    } else if (m_shortNext > 0) {
        --m_shortNext;
        cutShort = true;
    } else if (m_shortProbability > 0.0 && in &&
               std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < m_shortProbability) {
        cutShort = true;
    }
    if (r == 0) {
        if (length > 0 && !data) {
            r = UsbBus::ErrorInvalidParam;
        } else if (requestType == usb::kRequestTypeOut) {
            if (cutShort && length > 0) {
                r = length - 1; // took less than it was given, and stored nothing
            } else {
                r = handleOut(request, value, index, data, length);
            }
        } else if (in) {
            r = handleIn(request, value, index, data, length);
            if (r > 0 && cutShort)
                --r;
        } else {
            r = UsbBus::ErrorPipe;
        }
        if (r == UsbBus::ErrorTimeout)
            m_elapsedUs += qint64(timeoutMs) * 1000;
    }

    if (m_logging) {
        Request logged{requestType, request, value, index, length, {}, r};
        if (data) {
            const int shown = in ? std::max(r, 0) : length;
            logged.data = QByteArray(reinterpret_cast<const char *>(data), shown);
        }
        m_requests.append(logged);
    }
    remember({requestType, request, value, index, length, {}, r});
    qCDebug(::lcSim, "request %u %s, value %u, index %u, %u bytes: %d", request, in ? "in" : "out",
            value, index, length, r);
    if (m_activity)
        m_activity();
    return r;
}

int SimController::handleIn(quint8 request, quint16 value, quint16 index, unsigned char *data,
                            quint16 length)
{
    switch (request) {
    case usb::LM_ID_REQUEST: {
        if (m_busyPolls > 0) { // still programming a firmware block: no answer
            --m_busyPolls;
            return UsbBus::ErrorTimeout;
        }
        const unsigned char id[2] = {quint8(m_id & 0xFF), quint8(m_id >> 8)};
        const int n = std::min<int>(length, 2);
        std::memcpy(data, id, std::size_t(n));
        return n;
    }
    case usb::VERSION_REQUEST: {
        if (m_firmwareChanged) {
            m_firmwareChanged = false;
            const QByteArray release = upgrade::imageRelease(QByteArrayView(
                reinterpret_cast<const char *>(m_firmware.data()), qsizetype(m_firmware.size())));
            if (!release.isEmpty())
                setVersionText(release);
        }
        const int n = std::min<int>(length, usb::kVersionLength);
        std::memset(data, 0, std::size_t(n));
        std::memcpy(data, m_version.constData(), std::size_t(std::min<int>(n, m_version.size())));
        return n;
    }
    case usb::READ_MEMORY_REQUEST: {
        // One byte for the byte access, one block for the whole-memory passes; nothing else.
        const int address = value * layout::kPageSize + index;
        if (m_upgradeMode || (length != 1 && length != layout::kBlockSize) ||
            !inMemory(address, length))
            return UsbBus::ErrorPipe;
        std::memcpy(data, m_memory.data() + address, length);
        if (length == layout::kBlockSize)
            m_mainLoopHeld = true;
        return length;
    }
    case usb::END_PASS_REQUEST:
        if (m_upgradeMode || length < 1)
            return UsbBus::ErrorPipe;
        m_mainLoopHeld = false;
        ++m_passesEnded;
        if (value == 1) // after a write pass it plays from the memory it was given
            m_player.restart(m_memory);
        data[0] = 0;
        return 1;
    case usb::UPGRADE_READ_REQUEST: {
        const int address = value + index * usb::kMaxControlPayload;
        if (!m_upgradeMode || index > 1 || length != usb::kMaxControlPayload ||
            address + length > kFirmwareSize)
            return UsbBus::ErrorPipe;
        std::memcpy(data, m_firmware.data() + address, length);
        return length;
    }
    default:
        return UsbBus::ErrorPipe;
    }
}

int SimController::handleOut(quint8 request, quint16 value, quint16 index,
                             const unsigned char *data, quint16 length)
{
    const int address = value * layout::kPageSize + index;
    switch (request) {
    case usb::WRITE_BYTE_REQUEST:
        if (m_upgradeMode || length != 1 || !inMemory(address, 1))
            return UsbBus::ErrorPipe;
        m_memory[std::size_t(address)] = data[0];
        m_player.memoryWritten(address, 1);
        // What it plays shows the byte at once; a pass that holds the main loop starts the item
        // again at its end instead.
        if (!m_mainLoopHeld)
            m_player.takeWrites(m_memory);
        return 1;
    case usb::WRITE_BLOCK_REQUEST:
        if (m_upgradeMode || length != layout::kBlockSize || !inMemory(address, length))
            return UsbBus::ErrorPipe;
        std::memcpy(m_memory.data() + address, data, length);
        m_player.memoryWritten(address, length);
        m_mainLoopHeld = true;
        return length;
    case usb::RUN_SCENE_REQUEST:
    case usb::RUN_CHASER_REQUEST:
    case usb::RUN_PROGRAM_REQUEST: {
        const bool scene = request == usb::RUN_SCENE_REQUEST;
        const bool chaser = request == usb::RUN_CHASER_REQUEST;
        // The player knows which numbers its memory holds.
        if (m_upgradeMode || !m_player.run(m_memory,
                                           scene    ? SimPlayer::Item::Scene
                                           : chaser ? SimPlayer::Item::Chaser
                                                    : SimPlayer::Item::Program,
                                           value))
            return UsbBus::ErrorPipe;
        m_playing = scene ? Playing::Scene : (chaser ? Playing::Chaser : Playing::Program);
        m_playingNumber = value;
        return 0;
    }
    case usb::BLACKOUT_REQUEST:
        if (m_upgradeMode)
            return UsbBus::ErrorPipe;
        m_playing = Playing::Blackout;
        m_playingNumber = 0;
        m_player.run(m_memory, SimPlayer::Item::Blackout);
        return 0;
    case usb::UPGRADE_DATA_REQUEST:
        if (!m_upgradeMode || value > 1 || length != usb::kMaxControlPayload)
            return UsbBus::ErrorPipe;
        std::memcpy(m_block + value * usb::kMaxControlPayload, data, length);
        return length;
    case usb::UPGRADE_WRITE_REQUEST:
        if (!m_upgradeMode || value + usb::kUpgradeBlockSize > kFirmwareSize)
            return UsbBus::ErrorPipe;
        std::memcpy(m_firmware.data() + value, m_block, sizeof m_block);
        ++m_blocksProgrammed;
        m_programmedBlock = value / usb::kUpgradeBlockSize;
        m_firmwareChanged = true;
        m_busyPolls = m_programmingPolls;
        return 0;
    default:
        return UsbBus::ErrorPipe;
    }
}

int SimController::bulk(quint8 endpoint, unsigned char *data, int length, unsigned timeoutMs)
{
    ++m_transfers;
    m_elapsedUs += m_latencyUs;
    if (const int fault = injectedFault(-1, timeoutMs))
        return fault;
    if (endpoint == usb::kBulkOutEndpoint) {
        m_bulk.append(reinterpret_cast<const char *>(data), length);
        return length;
    }
    if (endpoint == usb::kBulkInEndpoint) {
        if (m_bulk.isEmpty()) {
            m_elapsedUs += qint64(timeoutMs) * 1000;
            return UsbBus::ErrorTimeout;
        }
        const int n = std::min<int>(length, int(m_bulk.size()));
        std::memcpy(data, m_bulk.constData(), std::size_t(n));
        m_bulk.remove(0, n);
        return n;
    }
    return UsbBus::ErrorPipe;
}

} // namespace lm740
