#include "sim_options.h"

#include "settings_image.h"
#include "usb_requests.h"

#include <QStringList>

#include <algorithm>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <sys/stat.h>

namespace lm740 {

const char *const kSimFaultsHelp =
    "  --simulator-faults=LIST\n"
    "                      make the simulated Lm740 a flaky one; LIST is comma-separated:\n"
    "                        fail=P[@SEED]  each request fails with probability P (0 to 1),\n"
    "                                       from a generator started with SEED (default 1)\n"
    "                        latency=MS     each request takes MS milliseconds (0 to 1000)\n"
    "                        short=P        an answer comes one byte short with probability P\n"
    "                        unplug=N:M     the Lm740 leaves the bus after N requests and\n"
    "                                       comes back after M searches for it, again and again\n"
    "                        release=TEXT   the firmware version text it reports (rel_0_16)\n"
    "                        serial=TEXT    its USB serial number, to name it by\n"
    "                      and, striking every time:\n"
    "                        absent         no Lm740 on the bus\n"
    "                        no-permission  one is there, but this user may not open it\n"
    "                        other-device   a device with its USB ids that is no Lm740\n"
    "                        upgrade-mode   it waits in its upgrade mode\n"
    "                        busy=N         it ignores N polls after programming a block\n"
    "                        refuse=REQUEST:N[:AFTER]\n"
    "                                       N requests of REQUEST fail, after AFTER of them\n"
    "                                       went through; REQUEST is a code or one of id,\n"
    "                                       version, read-memory, write-byte, write-block,\n"
    "                                       end-pass, run-scene, run-chaser, run-program,\n"
    "                                       blackout, upgrade-data, upgrade-write, upgrade-read\n"
    "                      e.g. --simulator-faults=fail=0.3@7,latency=1,unplug=2000:3\n";

namespace {

bool probability(const QString &text, double *p)
{
    bool ok = false;
    *p = text.toDouble(&ok);
    return ok && std::isfinite(*p) && *p >= 0.0 && *p <= 1.0;
}

bool count(const QString &text, int min, int *n)
{
    bool ok = false;
    *n = text.toInt(&ok);
    return ok && *n >= min;
}

struct RequestName
{
    const char *name;
    quint8 code;
};

constexpr RequestName kRequestNames[] = {
    {"id", usb::LM_ID_REQUEST},
    {"version", usb::VERSION_REQUEST},
    {"read-memory", usb::READ_MEMORY_REQUEST},
    {"write-byte", usb::WRITE_BYTE_REQUEST},
    {"write-block", usb::WRITE_BLOCK_REQUEST},
    {"end-pass", usb::END_PASS_REQUEST},
    {"run-scene", usb::RUN_SCENE_REQUEST},
    {"run-chaser", usb::RUN_CHASER_REQUEST},
    {"run-program", usb::RUN_PROGRAM_REQUEST},
    {"blackout", usb::BLACKOUT_REQUEST},
    {"upgrade-data", usb::UPGRADE_DATA_REQUEST},
    {"upgrade-write", usb::UPGRADE_WRITE_REQUEST},
    {"upgrade-read", usb::UPGRADE_READ_REQUEST},
};

// A request by its name or its decimal code; -1 when it is neither.
int requestCode(const QString &text)
{
    for (const RequestName &r : kRequestNames)
        if (text == QLatin1String(r.name))
            return r.code;
    int code = -1;
    return count(text, 0, &code) && code <= 0xFF ? code : -1;
}

} // namespace

bool SimOptions::parse(const QString &text, SimOptions *options, QString *error)
{
    SimOptions o;
    const QStringList items = text.split(QLatin1Char(','));
    for (const QString &item : items) {
        const QString name = item.section(QLatin1Char('='), 0, 0);
        const QString value = item.section(QLatin1Char('='), 1);
        auto refuse = [&](const char *why) {
            if (error)
                *error = QStringLiteral("'%1': %2").arg(item, QLatin1String(why));
            return false;
        };
        if (item == QLatin1String("absent")) {
            o.absent = true;
            continue;
        }
        if (item == QLatin1String("no-permission")) {
            o.noPermission = true;
            continue;
        }
        if (item == QLatin1String("other-device")) {
            o.otherDevice = true;
            continue;
        }
        if (item == QLatin1String("upgrade-mode")) {
            o.upgradeMode = true;
            continue;
        }
        if (!item.contains(QLatin1Char('=')) || value.isEmpty())
            return refuse("expected name=value");
        if (name == QLatin1String("fail")) {
            const QString p = value.section(QLatin1Char('@'), 0, 0);
            const QString seed = value.section(QLatin1Char('@'), 1);
            if (!probability(p, &o.failProbability))
                return refuse("the probability is a number from 0 to 1");
            bool ok = true;
            if (value.contains(QLatin1Char('@')))
                o.seed = seed.toUInt(&ok);
            if (!ok)
                return refuse("the seed is a whole number from 0 to 4294967295");
        } else if (name == QLatin1String("latency")) {
            bool ok = false;
            o.latencyMs = value.toDouble(&ok);
            if (!ok || !std::isfinite(o.latencyMs) || o.latencyMs < 0 || o.latencyMs > 1000)
                return refuse("the latency is a number of milliseconds from 0 to 1000");
        } else if (name == QLatin1String("short")) {
            if (!probability(value, &o.shortProbability))
                return refuse("the probability is a number from 0 to 1");
        } else if (name == QLatin1String("unplug")) {
            const QStringList nm = value.split(QLatin1Char(':'));
            if (nm.size() != 2 || !count(nm[0], 1, &o.unplugAfter) ||
                !count(nm[1], 1, &o.plugBackAfter))
                return refuse("expected unplug=N:M with whole numbers N and M of 1 or more");
        } else if (name == QLatin1String("release")) {
            o.release = value.toLatin1();
            if (value.size() > usb::kVersionLength || QString::fromLatin1(o.release) != value)
                return refuse("the version text is at most 32 Latin-1 characters");
        } else if (name == QLatin1String("serial")) {
            o.serial = value.toLatin1();
            if (value.size() > 126 || QString::fromLatin1(o.serial) != value ||
                value.contains(QLatin1Char(' ')))
                return refuse("the serial number is at most 126 Latin-1 characters, no spaces");
        } else if (name == QLatin1String("busy")) {
            if (!count(value, 0, &o.busyPolls))
                return refuse("expected busy=N with a whole number N");
        } else if (name == QLatin1String("refuse")) {
            const QStringList parts = value.split(QLatin1Char(':'));
            o.refuseRequest = requestCode(parts[0]);
            if (o.refuseRequest < 0 || parts.size() < 2 || parts.size() > 3 ||
                !count(parts[1], 1, &o.refuseCount) ||
                (parts.size() == 3 && !count(parts[2], 0, &o.refuseAfter)))
                return refuse("expected refuse=REQUEST:N[:AFTER] with a request's name or code");
        } else {
            return refuse("unknown setting (see --help)");
        }
    }
    *options = o;
    return true;
}

void SimOptions::applyTo(SimController &controller) const
{
    controller.setFailureProbability(failProbability, seed);
    controller.setShortAnswerProbability(shortProbability);
    controller.setLatencyMicroseconds(qint64(std::llround(latencyMs * 1000)));
    controller.setRealLatency(true);
    if (unplugAfter > 0)
        controller.setUnplugSchedule(unplugAfter, plugBackAfter);
    if (!release.isEmpty())
        controller.setVersionText(release);
    if (!serial.isEmpty())
        controller.serialNumber = serial;
    if (noPermission)
        controller.openError = UsbBus::ErrorAccess;
    if (otherDevice)
        controller.setIdentification(usb::kLm740Id + 1);
    controller.setUpgradeMode(upgradeMode);
    controller.setProgrammingPolls(busyPolls);
    if (refuseRequest >= 0)
        controller.failRequests(quint8(refuseRequest), refuseCount, refuseAfter);
}

void SimulatorArguments::addSimulator(const QByteArray &file)
{
    m_items.push_back({false, file, {}});
}

void SimulatorArguments::addFaults(const QString &list)
{
    m_items.push_back({true, {}, list});
}

bool SimulatorArguments::anyFaults() const
{
    return std::any_of(m_items.begin(), m_items.end(), [](const Item &i) { return i.isFaults; });
}

bool SimulatorArguments::setups(std::vector<SimulatorSetup> *out, QString *error) const
{
    auto refuse = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    std::vector<SimulatorSetup> setups;
    const QString *early = nullptr; // faults given before any simulator
    for (const Item &item : m_items) {
        if (!item.isFaults) {
            setups.push_back({item.file, {}, false});
            continue;
        }
        if (setups.empty() && early)
            return refuse(QStringLiteral("--simulator-faults is given twice for one simulator"));
        if (setups.empty()) {
            early = &item.faults;
            continue;
        }
        if (setups.back().faultsGiven)
            return refuse(QStringLiteral("--simulator-faults is given twice for one simulator"));
        setups.back().faultsGiven = true;
        if (!SimOptions::parse(item.faults, &setups.back().faults, error)) {
            if (error)
                error->prepend(QStringLiteral("--simulator-faults: "));
            return false;
        }
    }
    if (early) {
        if (setups.empty())
            return refuse(QStringLiteral("--simulator-faults needs --simulator"));
        if (setups.size() > 1)
            return refuse(QStringLiteral("with several simulators, give each its "
                                         "--simulator-faults right after its --simulator"));
        if (setups.size() == 1 && setups[0].faultsGiven)
            return refuse(QStringLiteral("--simulator-faults is given twice for one simulator"));
        SimOptions faults;
        if (!SimOptions::parse(*early, &faults, error)) {
            if (error)
                error->prepend(QStringLiteral("--simulator-faults: "));
            return false;
        }
        setups[0].faults = faults;
        setups[0].faultsGiven = true;
    }
    for (std::size_t i = 0; i < setups.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (!setups[i].file.isEmpty() && setups[i].file == setups[j].file)
                return refuse(QStringLiteral("%1 is given to two simulators; each keeps its "
                                             "memory in a file of its own")
                                  .arg(QString::fromLatin1(printableBytes(setups[i].file))));
    *out = std::move(setups);
    return true;
}

SimulatorSession::SimulatorSession()
{
    m_bus.recordOperations = false;
}

SimulatorSession::~SimulatorSession()
{
    for (auto &s : m_controllers)
        if (s->plugged)
            m_bus.unplug(s->controller);
}

bool SimulatorSession::start(const QByteArray &file, const SimOptions &faults, QString *error)
{
    auto simulated = std::make_unique<Simulated>();
    Simulated &s = *simulated;
    s.controller.setLogging(false);
    faults.applyTo(s.controller);
    s.fileBytes = file;
    s.file = QString::fromUtf8(file);
    if (!file.isEmpty() && !useFile(s, error))
        return false;
    m_controllers.push_back(std::move(simulated));
    // Its socket is its place in the order started, present or not.
    m_bus.plug(s.controller);
    if (faults.absent)
        m_bus.unplug(s.controller);
    else
        s.plugged = true;
    return true;
}

bool SimulatorSession::start(const std::vector<SimulatorSetup> &setups, QString *error)
{
    for (const SimulatorSetup &setup : setups)
        if (!start(setup.file, setup.faults, error))
            return false;
    return true;
}

bool SimulatorSession::useFile(Simulated &s, QString *error)
{
    auto refuse = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QString shown = QString::fromLatin1(printableBytes(s.fileBytes));
    // Qt reaches files by UTF-8 names: any other name would lead to another file.
    if (s.file.toUtf8() != s.fileBytes)
        return refuse(QStringLiteral("the file name %1 is not valid UTF-8; give the simulator's "
                                     "memory a file with a UTF-8 name")
                          .arg(shown));
    struct stat status = {};
    if (::stat(s.fileBytes.constData(), &status) == 0) {
        if (!S_ISREG(status.st_mode))
            return refuse(QStringLiteral("%1 is not a regular file; the simulator's memory is kept "
                                         "in a regular file (or a new one)")
                              .arg(shown));
        QString why;
        if (!s.controller.loadSettings(s.file, &why)) // refused rather than overwritten at the end
            return refuse(
                QStringLiteral("cannot use %1 as the simulator's memory: %2").arg(shown, why));
        s.fileExisted = true;
        s.memoryRead = s.controller.memory();
    } else if (errno != ENOENT) {
        return refuse(QStringLiteral("cannot use %1 as the simulator's memory: %2")
                          .arg(shown, QString::fromLocal8Bit(std::strerror(errno))));
    }
    QString why;
    if (!image::canWriteSettingsFile(s.file, &why))
        return refuse(
            QStringLiteral("the simulator's memory could not be written back: %1").arg(why));
    return true;
}

bool SimulatorSession::finish(QString *error)
{
    QStringList failures;
    for (auto &s : m_controllers) {
        QString why;
        if (s->fileBytes.isEmpty() || (s->fileExisted && s->controller.memory() == s->memoryRead) ||
            s->controller.saveSettings(s->file, &why))
            continue;
        failures << QStringLiteral("cannot save the simulator's memory to %1: %2")
                        .arg(QString::fromLatin1(printableBytes(s->fileBytes)), why);
    }
    if (error && !failures.isEmpty())
        *error = failures.join(QLatin1Char('\n'));
    return failures.isEmpty();
}

QByteArray printableBytes(const QByteArray &bytes)
{
    QByteArray out;
    for (const char c : bytes) {
        if (c >= 0x20 && c < 0x7F)
            out += c;
        else
            out += "\\x" + QByteArray::number(quint8(c), 16).rightJustified(2, '0');
    }
    return out;
}

} // namespace lm740
