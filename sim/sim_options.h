// The simulated Lm740 that a program runs with when started with --simulator[=FILE], shared by the
// window and lm740ctl: the controller on its own bus, its settings memory kept in FILE between
// runs, and faults switched on from the command line, so that scripts and tests can see how a
// program behaves when the controller misbehaves.
#pragma once

#include "sim_bus.h"
#include "sim_controller.h"

#include <QString>
#include <QStringList>

namespace lm740 {

class SimulatorSession
{
public:
    // The faults that --simulator-fault=SPEC understands, one line each, for a program's help.
    static const char *const kFaultHelp;

    SimulatorSession();
    ~SimulatorSession();
    SimulatorSession(const SimulatorSession &) = delete;
    SimulatorSession &operator=(const SimulatorSession &) = delete;

    // Switches faults on before start(); each is one SPEC (see kFaultHelp). False with *error set
    // to one sentence naming the first SPEC that means nothing.
    bool addFaults(const QStringList &faults, QString *error);
    // Puts the controller on the bus. With a file (the name's bytes as given), its memory comes
    // from that .set file when the file exists. A file that could not be read, or not be written
    // back at the end, is refused here, before anything runs: false with *error set to one
    // sentence that names it.
    bool start(const QByteArray &file, QString *error);

    UsbBus &bus() { return m_bus; }
    SimController &controller() { return m_controller; }

    // Writes the memory back to the file given to start(), if any. False with *error set to one
    // sentence when it could not be written.
    bool finish(QString *error);

private:
    bool applyFault(const QString &spec, QString *error);
    bool useFile(QString *error);

    SimController m_controller;
    SimBus m_bus;
    QString m_file;
    QByteArray m_fileBytes;
    bool m_absent = false;
    bool m_plugged = false;
};

// Bytes as a terminal can show them: anything outside printable ASCII as \xNN.
QByteArray printableBytes(const QByteArray &bytes);

} // namespace lm740
