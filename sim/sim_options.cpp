#include "sim_options.h"

#include "settings_image.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace lm740 {

namespace {

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
    bool ok = false;
    const int code = text.toInt(&ok, 10);
    return ok && code >= 0 && code <= 0xFF ? code : -1;
}

// A count from 0 to 1000000; -1 otherwise.
int count(const QString &text)
{
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    return ok && n >= 0 && n <= 1000000 ? n : -1;
}

} // namespace

const char *const SimulatorSession::kFaultHelp =
    "absent                      no controller on the bus\n"
    "no-permission               the controller is there, but this user may not open it\n"
    "other-device                a device with the Lm740's USB ids that is no Lm740\n"
    "upgrade-mode                the controller waits in its upgrade mode\n"
    "release=MAJOR.MINOR         the firmware release it reports (default 0.16)\n"
    "busy=N                      after programming a firmware block it ignores N polls\n"
    "fail=REQUEST:N[:AFTER]      N transfers of REQUEST fail, after AFTER of them went through\n"
    "short=REQUEST:N             N transfers of REQUEST answer one byte short\n"
    "REQUEST is a code or one of: id, version, read-memory, write-byte, write-block, end-pass,\n"
    "run-scene, run-chaser, run-program, blackout, upgrade-data, upgrade-write, upgrade-read\n";

SimulatorSession::SimulatorSession()
{
    m_controller.setLogging(false);
    m_bus.recordOperations = false;
}

SimulatorSession::~SimulatorSession()
{
    if (m_plugged)
        m_bus.unplug(m_controller);
}

bool SimulatorSession::addFaults(const QStringList &faults, QString *error)
{
    for (const QString &spec : faults) {
        if (spec == QLatin1String("absent"))
            m_absent = true;
        else if (!applyFault(spec, error))
            return false;
    }
    return true;
}

bool SimulatorSession::start(const QByteArray &file, QString *error)
{
    m_fileBytes = file;
    m_file = QString::fromUtf8(file);
    if (!file.isEmpty() && !useFile(error))
        return false;
    if (!m_absent) {
        m_bus.plug(m_controller);
        m_plugged = true;
    }
    return true;
}

bool SimulatorSession::useFile(QString *error)
{
    auto refuse = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QString shown = QString::fromLatin1(printableBytes(m_fileBytes));
    // Qt reaches files by UTF-8 names: any other name would lead to another file.
    if (m_file.toUtf8() != m_fileBytes)
        return refuse(QStringLiteral("the file name %1 is not valid UTF-8; give the simulator's "
                                     "memory a file with a UTF-8 name")
                          .arg(shown));
    struct stat status = {};
    if (::stat(m_fileBytes.constData(), &status) == 0) {
        if (!S_ISREG(status.st_mode))
            return refuse(QStringLiteral("%1 is not a regular file; the simulator's memory is kept "
                                         "in a regular file (or a new one)")
                              .arg(shown));
        QString why;
        if (!m_controller.loadSettings(m_file, &why)) // refused rather than overwritten at the end
            return refuse(
                QStringLiteral("cannot use %1 as the simulator's memory: %2").arg(shown, why));
    } else if (errno != ENOENT) {
        return refuse(QStringLiteral("cannot use %1 as the simulator's memory: %2")
                          .arg(shown, QString::fromLocal8Bit(std::strerror(errno))));
    }
    QString why;
    if (!image::canWriteSettingsFile(m_file, &why))
        return refuse(
            QStringLiteral("the simulator's memory could not be written back: %1").arg(why));
    return true;
}

bool SimulatorSession::applyFault(const QString &spec, QString *error)
{
    const QString name = spec.section(QLatin1Char('='), 0, 0);
    const QStringList args = spec.section(QLatin1Char('='), 1).split(QLatin1Char(':'));
    const int n = args.size() > 1 ? count(args[1]) : -1;
    if (spec == QLatin1String("no-permission")) {
        m_controller.openError = UsbBus::ErrorAccess;
        return true;
    }
    if (spec == QLatin1String("other-device")) {
        m_controller.setIdentification(usb::kLm740Id + 1);
        return true;
    }
    if (spec == QLatin1String("upgrade-mode")) {
        m_controller.setUpgradeMode(true);
        return true;
    }
    if (name == QLatin1String("release") && args.size() == 1) {
        const QStringList parts = args[0].split(QLatin1Char('.'));
        const int major = parts.size() == 2 ? count(parts[0]) : -1;
        const int minor = parts.size() == 2 ? count(parts[1]) : -1;
        if (major >= 0 && minor >= 0 && major < 100 && minor < 100) {
            m_controller.setRelease(major, minor);
            return true;
        }
    } else if (name == QLatin1String("busy") && args.size() == 1 && count(args[0]) >= 0) {
        m_controller.setProgrammingPolls(count(args[0]));
        return true;
    } else if (name == QLatin1String("fail") && (args.size() == 2 || args.size() == 3) &&
               requestCode(args[0]) >= 0 && n >= 0) {
        const int after = args.size() == 3 ? count(args[2]) : 0;
        if (after >= 0) {
            m_controller.failRequests(quint8(requestCode(args[0])), n, after);
            return true;
        }
    } else if (name == QLatin1String("short") && args.size() == 2 && requestCode(args[0]) >= 0 &&
               n >= 0) {
        m_controller.answerShortRequests(quint8(requestCode(args[0])), n);
        return true;
    }
    if (error)
        *error = QStringLiteral("unknown simulator fault \"%1\"").arg(spec);
    return false;
}

bool SimulatorSession::finish(QString *error)
{
    QString why;
    if (m_fileBytes.isEmpty() || m_controller.saveSettings(m_file, &why))
        return true;
    if (error)
        *error = QStringLiteral("cannot save the simulator's memory to %1: %2")
                     .arg(QString::fromLatin1(printableBytes(m_fileBytes)), why);
    return false;
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
