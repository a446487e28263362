// The simulated Lm740 as both programs start it with --simulator[=FILE]: its faults as a person
// sets them on the command line, so that anyone can watch a program on a bad cable or a broken
// controller (one comma-separated list of settings), and the session that puts it on its bus with
// its settings memory kept in FILE between runs.
#pragma once

#include "sim_bus.h"
#include "sim_controller.h"

#include <QByteArray>
#include <QString>

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
    // Faults that strike every time, for scripts and tests that need one outcome.
    bool absent = false;       // not on the bus at all
    bool noPermission = false; // on the bus, but this user may not open it
    bool otherDevice = false;  // the Lm740's USB ids, but another identification
    bool upgradeMode = false;  // waiting in its upgrade mode
    int busyPolls = 0;         // readiness polls it ignores after programming a firmware block
    int refuseRequest = -1;    // this request code fails refuseCount times, after refuseAfter
    int refuseCount = 0;
    int refuseAfter = 0;

    // Reads a list such as "fail=0.3@7,latency=1,short=0.01,unplug=500:5,release=rel_0_15" or
    // "upgrade-mode,busy=3,refuse=read-memory:1:1000".
    // false with *error set (naming the setting at fault) when the text is not such a list.
    static bool parse(const QString &text, SimOptions *options, QString *error);
    void applyTo(SimController &controller) const;
};

// The lines that --help shows for the option.
extern const char *const kSimFaultsHelp;

// The simulated controller on its own bus for one run of a program.
class SimulatorSession
{
public:
    SimulatorSession();
    ~SimulatorSession();
    SimulatorSession(const SimulatorSession &) = delete;
    SimulatorSession &operator=(const SimulatorSession &) = delete;

    // Puts the controller, with `faults`, on the bus (unless they say it is absent). With a file
    // (the name's bytes as given), its memory comes from that .set file when the file exists. A
    // file that could not be read, or not be written back at the end, is refused here, before
    // anything runs: false with *error set to one sentence that names it.
    bool start(const QByteArray &file, const SimOptions &faults, QString *error);

    UsbBus &bus() { return m_bus; }
    SimController &controller() { return m_controller; }

    // Writes the memory back to the file given to start(), if any. False with *error set to one
    // sentence when it could not be written.
    bool finish(QString *error);

private:
    bool useFile(QString *error);

    SimController m_controller;
    SimBus m_bus;
    QByteArray m_fileBytes;
    QString m_file;
    bool m_plugged = false;
};

// Bytes as a terminal can show them: anything outside printable ASCII as \xNN.
QByteArray printableBytes(const QByteArray &bytes);

} // namespace lm740
