// The simulated Lm740 as both programs start it with --simulator[=FILE]: its faults as a person
// sets them on the command line, so that anyone can watch a program on a bad cable or a broken
// controller (one comma-separated list of settings), and the session that puts it on its bus with
// its settings memory kept in FILE between runs.
#pragma once

#include "sim_bus.h"
#include "sim_controller.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace lm740 {

struct SimOptions
{
    double failProbability = 0.0;  // each request fails with this probability
    quint32 seed = 1;              // of the generator behind both probabilities
    double latencyMs = 0.0;        // waited out per request
    double shortProbability = 0.0; // an answer to the host comes one byte short
    int unplugAfter = 0;           // requests before the controller leaves the bus; 0 never
    int plugBackAfter = 0;         // searches of the bus without it before it comes back
    QByteArray release;            // the version text it reports; empty keeps its own
    QByteArray serial;             // its USB serial number; empty: it has none
    // Faults that strike every time, for scripts and tests that need one outcome.
    bool absent = false;       // not on the bus at all
    bool noPermission = false; // on the bus, but this user may not open it
    bool otherDevice = false;  // the Lm740's USB ids, but another identification
    bool upgradeMode = false;  // waiting in its upgrade mode
    int busyPolls = 0;         // readiness polls it ignores after programming a firmware block
    int refuseRequest = -1;    // this request code fails refuseCount times, after refuseAfter
    int refuseCount = 0;
    int refuseAfter = 0;

    // Reads a list such as
    // "fail=0.3@7,latency=1,short=0.01,unplug=500:5,release=rel_0_15,serial=B1" or
    // "upgrade-mode,busy=3,refuse=read-memory:1:1000".
    // false with *error set (naming the setting at fault) when the text is not such a list.
    static bool parse(const QString &text, SimOptions *options, QString *error);
    void applyTo(SimController &controller) const;
};

// The lines that --help shows for the option.
extern const char *const kSimFaultsHelp;

// One simulated controller as a command line asks for it: the file its memory is kept in (the
// name's bytes as given; empty for none) and its faults.
struct SimulatorSetup
{
    QByteArray file;
    SimOptions faults;
    bool faultsGiven = false;
};

// --simulator[=FILE] and --simulator-faults=LIST in the order a command line gives them. Each list
// of faults belongs to the simulator given before it; with one simulator the order does not matter.
class SimulatorArguments
{
public:
    void addSimulator(const QByteArray &file);
    void addFaults(const QString &list);
    bool anyFaults() const;

    // The controllers asked for, or false with *error set to one sentence: faults that belong to
    // no simulator or are not a list of faults, one simulator given two lists, one memory file
    // given to two simulators (each would write it back over the other's).
    bool setups(std::vector<SimulatorSetup> *out, QString *error) const;

private:
    struct Item
    {
        bool isFaults;
        QByteArray file;
        QString faults;
    };
    std::vector<Item> m_items;
};

// The simulated controllers on their own bus for one run of a program, each in a socket of its own
// ("1-1", "1-2", ...) in the order they were started.
class SimulatorSession
{
public:
    SimulatorSession();
    ~SimulatorSession();
    SimulatorSession(const SimulatorSession &) = delete;
    SimulatorSession &operator=(const SimulatorSession &) = delete;

    // Puts one more controller, with `faults`, on the bus (unless they say it is absent). With a
    // file (the name's bytes as given), its memory comes from that .set file when the file exists.
    // A file that could not be read, or not be written back at the end, is refused here, before
    // anything runs: false with *error set to one sentence that names it.
    bool start(const QByteArray &file, const SimOptions &faults, QString *error);
    bool start(const std::vector<SimulatorSetup> &setups, QString *error);

    UsbBus &bus() { return m_bus; }
    SimBus &simBus() { return m_bus; }
    // The first controller started; the others by their place.
    SimController &controller() { return controller(0); }
    SimController &controller(int i) { return m_controllers.at(std::size_t(i))->controller; }
    int controllerCount() const { return int(m_controllers.size()); }

    // Writes every memory back to its file, if it has one: a file that did not exist is made, one
    // whose memory is as it was read is left alone. False with *error set to one sentence per file
    // that could not be written (each file is tried).
    bool finish(QString *error);

private:
    struct Simulated
    {
        SimController controller;
        QByteArray fileBytes;
        QString file;
        bool fileExisted = false;
        std::vector<quint8> memoryRead; // as the file held it
        bool plugged = false;
    };
    bool useFile(Simulated &s, QString *error);

    SimBus m_bus;
    std::vector<std::unique_ptr<Simulated>> m_controllers;
};

// Bytes as a terminal can show them: anything outside printable ASCII as \xNN.
QByteArray printableBytes(const QByteArray &bytes);

} // namespace lm740
