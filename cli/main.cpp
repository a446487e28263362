// lm740ctl: the Lm740 from scripts and from machines without a display. The command line is read
// here, the controller found (on USB, or the simulated one), and the command run; its result is
// the exit status.
#include "ctl.h"

#include "libusb_bus.h"
#include "sim_options.h"
#include "usb_requests.h"
#include "version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringDecoder>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

using namespace lm740;

struct Command
{
    const char *name;
    const char *synopsis;
    int (*handler)(ctl::Context &);
    bool needsController;
    bool asks = false;    // takes --yes
    bool prints = false;  // takes --json
    bool builds = false;  // takes --onto
    bool backsUp = false; // takes --no-backup
};

const Command kCommands[] = {
    {"info", "info                             what the Lm740 is and what it holds now", ctl::info,
     true},
    {"run", "run scene|chaser|program N       play scene 1-10, chaser 1-4 or program 1-4", ctl::run,
     true},
    {"blackout", "blackout                         black the outputs out", ctl::blackout, true},
    {"get", "get lamps|scene-time|color-mode  print a setting of the Lm740", ctl::get, true},
    {"set",
     "set lamps|scene-time|color-mode VALUE\n"
     "                                   change a setting of the Lm740",
     ctl::set, true},
    {"backup", "backup FILE.set                  copy the Lm740's whole memory into FILE.set",
     ctl::backup, true},
    {"restore",
     "restore [--no-backup] FILE.set   copy FILE.set into the Lm740's whole memory, after a\n"
     "                                   backup of what it holds (see lm740ctl(1))",
     ctl::restore, true, true, false, false, true},
    {"upgrade", "upgrade FILE.upg                 replace the Lm740's firmware (in upgrade mode)",
     ctl::upgradeFirmware, true, true},
    {"show", "show FILE.set                    print the show in FILE.set (--json for machines)",
     ctl::show, false, false, true},
    {"export",
     "export FILE.set DIR              write the show as the window's text files into DIR",
     ctl::exportShow, false},
    {"import",
     "import DIR FILE.set [--onto BASE.set]\n"
     "                                   build FILE.set from the text files in DIR, onto the\n"
     "                                   other bytes of BASE.set when given",
     ctl::importShow, false, false, false, true},
};

const Command *command(const QString &name)
{
    for (const Command &c : kCommands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

QString helpText(const QCommandLineParser &parser)
{
    // Qt's first line names the program by the path it was started with.
    QString text = parser.helpText().section(QLatin1Char('\n'), 1);
    text.prepend(QStringLiteral("Usage: lm740ctl [options] COMMAND [ARGUMENTS]\n"));
    text += QStringLiteral("\nCommands:\n");
    for (const Command &c : kCommands)
        text += QStringLiteral("  %1\n").arg(QLatin1String(c.synopsis));
    text += QStringLiteral(
        "\nExit status: 0 done, 1 failed (one line on stderr says why), 2 used wrongly.\n"
        "Scenes, chasers and programs are numbered from 1, as in the window. See lm740ctl(1).\n");
    return text;
}

// QCommandLineParser has no option with an optional value: "--simulator=FILE" becomes
// "--simulator" here, and FILE is kept aside as the bytes it was given as. False for "--simulator="
// with no file.
bool takeSimulatorFile(QStringList &arguments, char *argv[], QByteArray *file)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString &a = arguments[i];
        if (a == QLatin1String("--"))
            break;
        if (a.startsWith(QLatin1String("--simulator="))) {
            *file = QByteArray(argv[i] + 12);
            a = QStringLiteral("--simulator");
            if (file->isEmpty())
                return false;
        }
    }
    return true;
}

// Why the controller could not be opened, in one line.
QString notFound(const UsbDevice &device, bool simulated)
{
    switch (device.lastSearchResult()) {
    case UsbDevice::SearchResult::NoPermission:
        return QStringLiteral("an Lm740 is connected, but this user may not use it: install the "
                              "udev rule 70-lm740.rules (see lm740ctl(1))");
    case UsbDevice::SearchResult::NotIdentified:
        return QStringLiteral("a device with the Lm740's USB ids is connected, but it did not "
                              "answer when asked what it is (a loose cable, or a controller that "
                              "hangs: unplug it and plug it in again)");
    case UsbDevice::SearchResult::OtherDevice:
        return QStringLiteral("a device with the Lm740's USB ids is connected, but it answered as "
                              "another device, not as an Lm740");
    case UsbDevice::SearchResult::Found:
    case UsbDevice::SearchResult::NotFound:
        break;
    }
    return simulated ? QStringLiteral("no Lm740 found (the simulated one is absent)")
                     : QStringLiteral("no Lm740 found on USB");
}

// The first argument whose bytes are not UTF-8, or -1. Qt would turn such a file name into
// another one (a byte it cannot decode becomes U+FFFD), and a command would write that file.
// The simulator's file is taken as its bytes and may be anything.
int argumentNotUtf8(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--simulator=", 12) == 0)
            continue;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        [[maybe_unused]] const QString decoded = decoder.decode(QByteArrayView(argv[i]));
        if (decoder.hasError())
            return i;
    }
    return -1;
}

int runCommand(QCoreApplication &app, int argc, char *argv[])
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Works the Lm740 RGB LED lighting controller from the command line."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption simulator(
        QStringLiteral("simulator"),
        QStringLiteral("Work with a simulated Lm740 instead of one on USB; with =FILE its "
                       "memory is kept in FILE (a .set file, created when missing)."));
    const QCommandLineOption fault(
        QStringLiteral("simulator-faults"),
        QStringLiteral("Faults of the simulated Lm740, for trying scripts out (see lm740ctl(1))."),
        QStringLiteral("LIST"));
    const QCommandLineOption yes({QStringLiteral("y"), QStringLiteral("yes")},
                                 QStringLiteral("Ask no questions (restore, upgrade)."));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Print the show as JSON (show)."));
    const QCommandLineOption onto(
        QStringLiteral("onto"),
        QStringLiteral("Keep every byte of BASE.set that the text files do not hold (import)."),
        QStringLiteral("BASE.set"));
    const QCommandLineOption noBackup(
        QStringLiteral("no-backup"),
        QStringLiteral("Do not save the Lm740's memory before it is overwritten (restore)."));
    parser.addOptions({help, version, simulator, fault, yes, json, onto, noBackup});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("See below."),
                                 QStringLiteral("COMMAND [ARGUMENTS]"));

    if (const int bad = argumentNotUtf8(argc, argv); bad > 0)
        return ctl::usage(QStringLiteral("argument %1 (\"%2\") is not UTF-8; lm740ctl takes file "
                                         "names in UTF-8 only")
                              .arg(bad)
                              .arg(QString::fromUtf8(argv[bad])));
    QStringList arguments = app.arguments();
    QByteArray simulatorFile;
    if (!takeSimulatorFile(arguments, argv, &simulatorFile))
        return ctl::usage(QStringLiteral("--simulator= needs a file name"));
    for (const QString &a : arguments) {
        // Qt would call "-1" an unknown option "1".
        if (a.size() > 1 && a.startsWith(QLatin1Char('-')) && a.at(1).isDigit())
            return ctl::usage(QStringLiteral("\"%1\": no number here is negative").arg(a));
    }
    if (!parser.parse(arguments))
        return ctl::usage(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(qPrintable(helpText(parser)), stdout);
        return ctl::kOk;
    }
    if (parser.isSet(version)) {
        ctl::out(QStringLiteral("lm740ctl %1").arg(QCoreApplication::applicationVersion()));
        return ctl::kOk;
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return ctl::usage(QStringLiteral("no command given"));
    const Command *cmd = command(positional.takeFirst());
    if (!cmd)
        return ctl::usage(QStringLiteral("unknown command \"%1\"")
                              .arg(parser.positionalArguments().constFirst()));
    if (!cmd->needsController && (parser.isSet(simulator) || parser.isSet(fault)))
        return ctl::usage(QStringLiteral("%1 works on files and takes no --simulator")
                              .arg(QLatin1String(cmd->name)));
    if (parser.isSet(yes) && !cmd->asks)
        return ctl::usage(
            QStringLiteral("%1 asks nothing and takes no --yes").arg(QLatin1String(cmd->name)));
    if (parser.isSet(json) && !cmd->prints)
        return ctl::usage(QStringLiteral("only show takes --json"));
    if (parser.isSet(onto) && !cmd->builds)
        return ctl::usage(QStringLiteral("only import takes --onto"));
    if (parser.isSet(noBackup) && !cmd->backsUp)
        return ctl::usage(QStringLiteral("only restore takes --no-backup"));
    if (parser.isSet(fault) && !parser.isSet(simulator))
        return ctl::usage(QStringLiteral("--simulator-faults needs --simulator"));
    SimOptions faults;
    QString why;
    if (parser.isSet(fault) && !SimOptions::parse(parser.value(fault), &faults, &why))
        return ctl::usage(QStringLiteral("--simulator-faults: %1").arg(why));

    ctl::Context context;
    context.args = positional;
    context.yes = parser.isSet(yes);
    context.json = parser.isSet(json);
    context.onto = parser.value(onto);
    context.noBackup = parser.isSet(noBackup);
    context.simulated = parser.isSet(simulator);
    if (!cmd->needsController)
        return cmd->handler(context);

    // The bus, and the simulated controller on it, outlive the link that talks to them.
    std::unique_ptr<SimulatorSession> session;
    std::unique_ptr<UsbBus> libusb;
    UsbBus *bus = nullptr;
    if (context.simulated) {
        session = std::make_unique<SimulatorSession>();
        QString error;
        if (!session->start(simulatorFile, faults, &error))
            return ctl::fail(error);
        bus = &session->bus();
    } else {
        libusb = std::make_unique<LibusbBus>();
        bus = libusb.get();
    }
    int status = ctl::kOk;
    {
        UsbDevice device(*bus);
        device.setIds(usb::kVendorId, usb::kProductId);
        ControllerLink link(device);
        context.device = &device;
        context.link = &link;
        context.open = [&] {
            if (device.open() == 0)
                return true;
            ctl::fail(notFound(device, context.simulated));
            return false;
        };
        status = cmd->handler(context);
    }
    QString error;
    if (session && !session->finish(&error))
        return ctl::fail(error);
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    // A write past the user's file-size limit fails with its reason, like a full disk, instead of
    // ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lm740ctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LM740_VERSION));
    return runCommand(app, argc, argv);
}
