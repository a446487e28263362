// Our model of the Lm740 for tests and for running the program without the hardware: its settings
// memory, every vendor request with the lengths and answers the program relies on, what it is
// playing, an upgrade mode, and faults that a test can switch on. Time is simulated: time-outs and
// latency advance elapsedMicroseconds() and nobody sleeps.
#pragma once

#include "settings_layout.h"
#include "sim_player.h"
#include "usb_requests.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <chrono>
#include <deque>
#include <functional>
#include <random>
#include <vector>

namespace lm740 {

class SimController
{
public:
    enum class Playing { Nothing, Scene, Chaser, Program, Blackout };

    // One request as the controller received it.
    struct Request
    {
        quint8 requestType = 0;
        quint8 request = 0;
        quint16 value = 0;
        quint16 index = 0;
        quint16 length = 0;
        QByteArray data; // what was sent (out) or answered (in)
        int result = 0;
        int times = 1; // in the recent requests: the same request this many times in a row

        bool sameAs(const Request &o) const
        {
            return requestType == o.requestType && request == o.request && value == o.value &&
                   index == o.index && length == o.length && result == o.result;
        }
    };

    static constexpr int kFirmwareSize = 0x10000;

    SimController();

    // Identity on the bus and in its answers.
    quint16 vendorId = usb::kVendorId;
    quint16 productId = usb::kProductId;
    QByteArray serialNumber; // its USB serial number string; empty when it has none
    void setIdentification(quint16 id) { m_id = id; }
    // The 32-byte version text, zero-padded; release 16 unless told otherwise.
    void setVersionText(const QByteArray &text) { m_version = text.left(usb::kVersionLength); }
    void setRelease(int major, int minor);
    QByteArray versionText() const { return m_version; }

    // Settings memory.
    std::vector<quint8> &memory() { return m_memory; }
    const std::vector<quint8> &memory() const { return m_memory; }
    quint8 byteAt(int address) const { return m_memory.at(std::size_t(address)); }
    void setByteAt(int address, quint8 value) { m_memory.at(std::size_t(address)) = value; }
    // A .set file of exactly 131072 bytes; false (memory untouched) with *error set otherwise.
    bool loadSettings(const QString &fileName, QString *error = nullptr);
    bool saveSettings(const QString &fileName, QString *error = nullptr) const;

    // What it plays and whether a whole-memory pass holds its main loop.
    Playing playing() const { return m_playing; }
    // What is on its outputs. Its clock: each tick() is 30 ms of playing, unless a pass holds the
    // main loop; a pass that wrote the memory starts the item again from the new memory at its
    // end. True when the outputs or the step changed.
    const SimPlayer &player() const { return m_player; }
    bool tick();
    void catchUp(qint64 ms); // time in which nobody ticked it
    // Output `lamp` as it shows now: black in upgrade mode, where no show runs.
    QColor output(int lamp) const
    {
        return m_upgradeMode ? QColor(Qt::black) : m_player.color(lamp);
    }
    int playingNumber() const { return m_playingNumber; }
    bool mainLoopHeld() const { return m_mainLoopHeld; }
    int passesEnded() const { return m_passesEnded; }

    // Upgrade mode, as a real one starts with its "previous" key held: the firmware is programmed
    // in 128-byte blocks and can be read back. Once the programmed firmware names its release (the
    // record of our own images, upgrade::kReleaseTag), the version request reports that release.
    void setUpgradeMode(bool on) { m_upgradeMode = on; }
    bool upgradeMode() const { return m_upgradeMode; }
    // After programming a block the controller is busy for this many identification requests.
    void setProgrammingPolls(int polls) { m_programmingPolls = polls; }
    std::vector<quint8> &firmware() { return m_firmware; }
    int blocksProgrammed() const { return m_blocksProgrammed; }
    // The firmware block (128 bytes each, from 0) programmed last; -1 before the first.
    int programmedBlock() const { return m_programmedBlock; }

    // Faults.
    void failNext(int transfers) { m_failNext = transfers; }
    // Fails `count` transfers of one request code, after letting `after` of them through.
    void failRequests(quint8 request, int count, int after = 0)
    {
        m_requestFault = {request, after, count};
    }
    void timeOutNext(int transfers) { m_timeOutNext = transfers; }
    void answerShortNext(int transfers) { m_shortNext = transfers; }
    // Answers the next `count` transfers of one request code one byte short.
    void answerShortRequests(quint8 request, int count) { m_shortRequest = {request, 0, count}; }
    // Each transfer fails with this probability, from a generator with a fixed seed.
    void setFailureProbability(double probability, quint32 seed);
    void setLatencyMicroseconds(qint64 perTransfer) { m_latencyUs = perTransfer; }
    // Answers to the host come one byte short with this probability (the same generator).
    void setShortAnswerProbability(double probability) { m_shortProbability = probability; }
    // The latency is waited out for real, for a person watching the program rather than a test.
    void setRealLatency(bool on) { m_realLatency = on; }
    // Goes off the bus after `afterTransfers` transfers and comes back once the bus has been
    // searched `backAfterSearches` times without it; again and again.
    void setUnplugSchedule(int afterTransfers, int backAfterSearches);
    // Whether the schedule has it on the bus now; the bus tells it of each search made without it.
    bool onBus() const { return m_away == 0; }
    void missedSearch();
    // Bus-level faults: refused open (e.g. no permission), configuration, interface.
    int openError = 0;
    bool refuseConfiguration = false;
    bool refuseInterface = false;

    // Simulated time spent in transfers: latency plus the time-outs waited out.
    qint64 elapsedMicroseconds() const { return m_elapsedUs; }

    // The request log, in order. Logging can be switched off for long runs.
    void setLogging(bool on) { m_logging = on; }
    const QList<Request> &requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }
    int transferCount() const { return m_transfers; }

    // The last requests, newest first, kept even with the log off: each once, with its data left
    // out, and a run of identical ones (same request, values, length and outcome) as one entry
    // that counts them.
    static constexpr int kRecentRequests = 100;
    const std::deque<Request> &recentRequests() const { return m_recent; }
    // Goes up when the recent requests look different: a new entry, or an entry that starts to
    // repeat (not at each further repeat, so that a poll every second changes nothing to show).
    int recentRevision() const { return m_recentRevision; }

    // Called after every transfer it received, for a view that follows it.
    void setActivityHook(std::function<void()> hook) { m_activity = std::move(hook); }

    // A control transfer as the bus delivers it: bytes moved or a negative UsbBus error.
    int control(quint8 requestType, quint8 request, quint16 value, quint16 index,
                unsigned char *data, quint16 length, unsigned timeoutMs);
    // Bulk endpoints loop back: what goes out on 0x02 comes back on 0x81.
    int bulk(quint8 endpoint, unsigned char *data, int length, unsigned timeoutMs);

private:
    int handleIn(quint8 request, quint16 value, quint16 index, unsigned char *data, quint16 length);
    int handleOut(quint8 request, quint16 value, quint16 index, const unsigned char *data,
                  quint16 length);
    int injectedFault(int request, unsigned timeoutMs);
    void remember(const Request &request);

    std::vector<quint8> m_memory;
    std::vector<quint8> m_firmware;
    QByteArray m_version;
    quint16 m_id = usb::kLm740Id;

    Playing m_playing = Playing::Nothing;
    int m_playingNumber = 0;
    bool m_mainLoopHeld = false;
    int m_passesEnded = 0;

    bool m_upgradeMode = false;
    bool m_firmwareChanged = false;
    unsigned char m_block[usb::kUpgradeBlockSize] = {};
    int m_programmingPolls = 0;
    int m_busyPolls = 0;
    int m_blocksProgrammed = 0;
    int m_programmedBlock = -1;

    int m_failNext = 0;
    struct RequestFault
    {
        int request = -1;
        int after = 0;
        int count = 0;
    } m_requestFault, m_shortRequest;
    int m_timeOutNext = 0;
    int m_shortNext = 0;
    double m_failureProbability = 0.0;
    std::mt19937 m_random;
    qint64 m_latencyUs = 0;
    double m_shortProbability = 0.0;
    bool m_realLatency = false;
    std::chrono::steady_clock::time_point m_due; // when the next real-latency request ends
    int m_unplugAfter = 0;                       // 0: never
    int m_plugBackAfter = 0;
    int m_untilUnplug = 0;
    int m_away = 0; // searches still to miss
    qint64 m_elapsedUs = 0;

    SimPlayer m_player;

    bool m_logging = true;
    QList<Request> m_requests;
    std::deque<Request> m_recent;
    int m_recentRevision = 0;
    std::function<void()> m_activity;
    int m_transfers = 0;
    QByteArray m_bulk;
};

} // namespace lm740
