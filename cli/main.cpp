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

// What a command works on: files only, the bus (every controller on it), or one controller.
enum class Reach { Files, Bus, Controller };
constexpr Reach kFiles = Reach::Files;
constexpr Reach kController = Reach::Controller;

struct Command
{
    const char *name;
    const char *synopsis;
    int (*handler)(ctl::Context &);
    Reach reach;
    bool asks = false;     // takes --yes
    bool prints = false;   // takes --json
    bool builds = false;   // takes --onto
    bool backsUp = false;  // takes --no-backup
    bool patterns = false; // takes the options of kPatternOptions
};

const Command kCommands[] = {
    {"list", "list                             name every Lm740 connected (--json for machines)",
     ctl::list, Reach::Bus, false, true},
    {"info", "info                             what the Lm740 is and what it holds now", ctl::info,
     kController},
    {"run", "run scene|chaser|program N       play scene 1-10, chaser 1-4 or program 1-4", ctl::run,
     kController},
    {"blackout", "blackout                         black the outputs out", ctl::blackout,
     kController},
    {"get", "get lamps|scene-time|color-mode  print a setting of the Lm740", ctl::get, kController},
    {"set",
     "set lamps|scene-time|color-mode VALUE\n"
     "                                   change a setting of the Lm740",
     ctl::set, kController},
    {"backup", "backup FILE.set                  copy the Lm740's whole memory into FILE.set",
     ctl::backup, kController},
    {"restore",
     "restore [--no-backup] FILE.set   copy FILE.set into the Lm740's whole memory, after a\n"
     "                                   backup of what it holds (see lm740ctl(1))",
     ctl::restore, kController, true, false, false, true},
    {"upgrade", "upgrade FILE.upg                 replace the Lm740's firmware (in upgrade mode)",
     ctl::upgradeFirmware, kController, true},
    {"show", "show FILE.set                    print the show in FILE.set (--json for machines)",
     ctl::show, kFiles, false, true},
    {"export",
     "export FILE.set DIR              write the show as the window's text files into DIR",
     ctl::exportShow, kFiles},
    {"import",
     "import DIR FILE.set [--onto BASE.set]\n"
     "                                   build FILE.set from the text files in DIR, onto the\n"
     "                                   other bytes of BASE.set when given",
     ctl::importShow, kFiles, false, false, true},
    {"diff",
     "diff A B                         what differs between two shows (.set files or folders)\n"
     "                                   exit 0 the same, 1 different, 2 trouble (--json)",
     ctl::diff, kFiles, false, true},
    {"pattern",
     "pattern list                     the pattern scripts there are (--json for machines)\n"
     "  pattern frames SCRIPT --grid WxH [--steps N] [--colors RRGGBB[,RRGGBB...]]\n"
     "                 [--set NAME=VALUE]...\n"
     "                                   print the frames SCRIPT draws, as JSON\n"
     "  pattern apply SCRIPT --layout SHAPE|FILE --into scene:N|chaser:N|program:N\n"
     "                [--step K] [--first-step K] [--step-time MS] [--xfade PCT]\n"
     "                [--fit sample|cut] [--colors ...] [--set ...] IN.set OUT.set\n"
     "                                   bake SCRIPT's frames into a copy of IN.set",
     ctl::pattern, kFiles, false, true, false, false, true},
};

// The options of pattern, each with a value; the synopsis above explains them, so they are
// kept out of the list of options that every command shares.
const char *const kPatternOptions[][2] = {
    {"grid", "WxH"},       {"steps", "N"},      {"colors", "RRGGBB,..."},
    {"set", "NAME=VALUE"}, {"layout", "SHAPE"}, {"into", "ITEM:N"},
    {"step", "K"},         {"first-step", "K"}, {"step-time", "MS"},
    {"xfade", "PCT"},      {"fit", "HOW"},
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

// QCommandLineParser has no option with an optional value, and knows no order between options:
// --simulator[=FILE] and --simulator-faults are taken out here, in order, with each FILE kept as
// the bytes it was given as. False for "--simulator=" with no file or faults with no list.
bool takeSimulators(QStringList &arguments, char *argv[], SimulatorArguments *simulators, bool *any,
                    QString *error)
{
    QStringList rest;
    qsizetype i = 0;
    for (; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (i == 0 || a == QLatin1String("--"))
            rest << a;
        if (a == QLatin1String("--"))
            break;
        if (i == 0)
            continue;
        if (a == QLatin1String("--simulator")) {
            simulators->addSimulator({});
            *any = true;
        } else if (a.startsWith(QLatin1String("--simulator="))) {
            const QByteArray file(argv[i] + 12);
            if (file.isEmpty()) {
                *error = QStringLiteral("--simulator= needs a file name");
                return false;
            }
            simulators->addSimulator(file);
            *any = true;
        } else if (a == QLatin1String("--simulator-faults") ||
                   a.startsWith(QLatin1String("--simulator-faults="))) {
            const bool joined = a.contains(QLatin1Char('='));
            if (!joined && i + 1 >= arguments.size()) {
                *error = QStringLiteral("--simulator-faults needs a list");
                return false;
            }
            simulators->addFaults(joined ? a.section(QLatin1Char('='), 1) : arguments[++i]);
        } else {
            rest << a;
        }
    }
    for (++i; i < arguments.size(); ++i)
        rest << arguments[i];
    arguments = rest;
    return true;
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
                       "memory is kept in FILE (a .set file, created when missing). Given more "
                       "than once, one more simulated Lm740 each, in sockets 1-1, 1-2, ..."));
    const QCommandLineOption fault(
        QStringLiteral("simulator-faults"),
        QStringLiteral("Faults of the simulated Lm740 given before it, for trying scripts out "
                       "(see lm740ctl(1))."),
        QStringLiteral("LIST"));
    const QCommandLineOption deviceOption(
        QStringLiteral("device"),
        QStringLiteral("The Lm740 to work with, by its port (1-4.2) or serial number, as "
                       "lm740ctl list names it; LM740_DEVICE gives the default. Needed when "
                       "more than one is connected."),
        QStringLiteral("NAME"));
    const QCommandLineOption yes({QStringLiteral("y"), QStringLiteral("yes")},
                                 QStringLiteral("Ask no questions (restore, upgrade)."));
    const QCommandLineOption json(
        QStringLiteral("json"),
        QStringLiteral("Print JSON for machines (show, list, diff, pattern list)."));
    const QCommandLineOption onto(
        QStringLiteral("onto"),
        QStringLiteral("Keep every byte of BASE.set that the text files do not hold (import)."),
        QStringLiteral("BASE.set"));
    const QCommandLineOption noBackup(
        QStringLiteral("no-backup"),
        QStringLiteral("Do not save the Lm740's memory before it is overwritten (restore)."));
    parser.addOptions({help, version, simulator, fault, deviceOption, yes, json, onto, noBackup});
    QList<QCommandLineOption> patternOptions;
    for (const auto &[name, value] : kPatternOptions) {
        patternOptions.append(
            QCommandLineOption(QLatin1String(name), QString(), QLatin1String(value)));
        patternOptions.last().setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(patternOptions.last());
    }
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("See below."),
                                 QStringLiteral("COMMAND [ARGUMENTS]"));

    if (const int bad = argumentNotUtf8(argc, argv); bad > 0)
        return ctl::usage(QStringLiteral("argument %1 (\"%2\") is not UTF-8; lm740ctl takes file "
                                         "names in UTF-8 only")
                              .arg(bad)
                              .arg(QString::fromUtf8(argv[bad])));

    QStringList arguments = app.arguments();
    SimulatorArguments simulators;
    bool simulated = false;
    QString why;
    if (!takeSimulators(arguments, argv, &simulators, &simulated, &why))
        return ctl::usage(why);
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
    if (cmd->reach == kFiles && (simulated || simulators.anyFaults()))
        return ctl::usage(QStringLiteral("%1 works on files and takes no --simulator")
                              .arg(QLatin1String(cmd->name)));
    if (cmd->reach != kController && parser.isSet(deviceOption))
        return ctl::usage(QStringLiteral("%1 reaches no one controller and takes no --device")
                              .arg(QLatin1String(cmd->name)));
    if (parser.isSet(yes) && !cmd->asks)
        return ctl::usage(
            QStringLiteral("%1 asks nothing and takes no --yes").arg(QLatin1String(cmd->name)));
    if (parser.isSet(json) && !cmd->prints)
        return ctl::usage(QStringLiteral("only show, list, diff and pattern take --json"));
    if (parser.isSet(onto) && !cmd->builds)
        return ctl::usage(QStringLiteral("only import takes --onto"));
    if (parser.isSet(noBackup) && !cmd->backsUp)
        return ctl::usage(QStringLiteral("only restore takes --no-backup"));
    for (const QCommandLineOption &option : std::as_const(patternOptions))
        if (parser.isSet(option) && !cmd->patterns)
            return ctl::usage(
                QStringLiteral("only pattern takes --%1").arg(option.names().constFirst()));
    std::vector<SimulatorSetup> setups;
    if (!simulators.setups(&setups, &why))
        return ctl::usage(why);
    if (parser.isSet(deviceOption) && parser.value(deviceOption).isEmpty())
        return ctl::usage(QStringLiteral("--device needs a name (see lm740ctl list)"));

    ctl::Context context;
    context.args = positional;
    context.yes = parser.isSet(yes);
    context.json = parser.isSet(json);
    context.onto = parser.value(onto);
    context.noBackup = parser.isSet(noBackup);
    for (const QCommandLineOption &option : std::as_const(patternOptions))
        if (parser.isSet(option))
            context.options.insert(option.names().constFirst(), parser.values(option));
    context.simulated = simulated;
    if (cmd->reach == kFiles)
        return cmd->handler(context);

    // The bus, and the simulated controller on it, outlive the link that talks to them.
    std::unique_ptr<SimulatorSession> session;
    std::unique_ptr<UsbBus> libusb;
    UsbBus *bus = nullptr;
    if (context.simulated) {
        session = std::make_unique<SimulatorSession>();
        QString error;
        if (!session->start(setups, &error))
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
        const QString name = parser.isSet(deviceOption) ? parser.value(deviceOption)
                                                        : qEnvironmentVariable("LM740_DEVICE");
        // A command opens the controller once its arguments are checked; with several and none
        // named it opens none, and the refusal's status is the command's.
        int choice = ctl::kOk;
        context.open = [&] {
            choice = ctl::chooseController(device, name, context.simulated, context.untouched);
            if (choice != ctl::kOk)
                return false;
            if (device.isOpen() == 0 || device.open() == 0)
                return true;
            const QString why = ctl::notFound(device, context.simulated);
            ctl::fail(context.untouched.isEmpty()
                          ? why
                          : QStringLiteral("%1; %2").arg(why, context.untouched));
            return false;
        };
        status = cmd->handler(context);
        if (choice != ctl::kOk)
            status = choice;
    }
    // A command used wrongly has reached no controller: a memory file it named is not made.
    QString error;
    if (session && status != ctl::kUsage && !session->finish(&error))
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
