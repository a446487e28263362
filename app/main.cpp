// Entry point: application, translation, the main window, the event loop. Before them the
// command line: --help, --version and --simulator[=FILE], which puts a simulated Lm740 on the
// link instead of the machine's USB buses, and the show files to open. A wrong argument, or a
// simulator file that could not be kept, ends the program here, before any window; a show file
// that cannot be opened is told about in the window.
#include "desktop_state.h"
#include "libusb_bus.h"
#include "main_window.h"
#include "quit_on_signal.h"
#include "recovery_file.h"
#include "sim_options.h"
#include "translations.h"
#include "version.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace {

const char *const kUsageTop =
    "Usage: lm740 [--simulator[=FILE] [--simulator-faults=LIST]]... [Qt options] [SHOW...]\n"
    "Control software for the Lm740 RGB LED lighting controller.\n"
    "\n"
    "  SHOW                a show file to open as its Load command does: settings (.set),\n"
    "                      scenes (.scn, .scs), chasers (.chr, .chs) or programs (.pgm, .pgs)\n"
    "  --simulator         work with a simulated Lm740 instead of one on USB\n"
    "  --simulator=FILE    the same, with the simulated controller's settings memory kept in FILE\n"
    "                      (a .set file of 131072 bytes, read at start and written back at the\n"
    "                      end; created when missing)\n"
    "                      Given more than once, each is one more simulated Lm740 in a USB socket\n"
    "                      of its own (1-1, 1-2, ...); each --simulator-faults belongs to the\n"
    "                      --simulator before it.\n";
const char *const kUsageEnd = "  -h, --help          show this help and exit\n"
                              "  -v, --version       show the version and exit\n";

void printUsage(FILE *to)
{
    std::fputs(kUsageTop, to);
    std::fputs(lm740::kSimFaultsHelp, to);
    std::fputs(kUsageEnd, to);
}

struct Options
{
    bool help = false;
    bool version = false;
    bool simulator = false;
    bool simulatorFile = false; // the last --simulator named a file
    lm740::SimulatorArguments simulatorArguments;
    std::vector<lm740::SimulatorSetup> simulators;
    QByteArray error; // the first wrong argument, told with the usage text
    QStringList showFiles;
};

// Our options: "--name", "--name=VALUE" (a value is always joined with "="), and "-x" for those
// with a letter. A new option is one row here.
enum class Value { None, Optional, Required };
struct OwnOption
{
    std::string_view name;
    char letter;
    Value value;
    void (*apply)(Options &options, std::string_view value);
};

const OwnOption kOwnOptions[] = {
    {"help", 'h', Value::None, [](Options &o, std::string_view) { o.help = true; }},
    {"version", 'v', Value::None, [](Options &o, std::string_view) { o.version = true; }},
    {"simulator", 0, Value::Optional,
     [](Options &o, std::string_view file) {
         o.simulator = true;
         o.simulatorFile = !file.empty();
         o.simulatorArguments.addSimulator(QByteArray(file.data(), qsizetype(file.size())));
     }},
    {"simulator-faults", 0, Value::Required,
     [](Options &o, std::string_view list) {
         o.simulatorArguments.addFaults(
             QString::fromUtf8(QByteArray(list.data(), qsizetype(list.size()))));
     }},
};

// Qt's own options, which QApplication takes with one dash or two ("-platform offscreen",
// "--style=fusion"): they are Qt's to read. Those with a value take it joined with "=" or as the
// next argument.
bool isQtOption(std::string_view name, bool *takesValue)
{
    static constexpr std::string_view withValue[] = {
        "platform",     "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
        "qwindowicon",  "qwindowtitle",       "session",       "display", "geometry",
        "style",        "stylesheet",         "title",         "name",    "icon",
        "qmljsdebugger"};
    static constexpr std::string_view flags[] = {"reverse", "widgetcount", "nograb",
                                                 "dograb",  "sync",        "testability"};
    *takesValue =
        std::find(std::begin(withValue), std::end(withValue), name) != std::end(withValue);
    return *takesValue || std::find(std::begin(flags), std::end(flags), name) != std::end(flags);
}

// Read before QApplication exists, so that --help and --version work without a display.
Options readOptions(int argc, char *argv[])
{
    Options o;
    bool optionsEnded = false;
    for (int i = 1; i < argc && o.error.isEmpty(); ++i) {
        const std::string_view argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            // Right after a bare --simulator, a file may be meant for the simulator, whose memory
            // is a .set file as a show is: the user says which.
            if (!optionsEnded && o.simulator && !o.simulatorFile &&
                !std::strcmp(argv[i - 1], "--simulator")) {
                o.error = "unexpected argument " + QByteArray(argv[i]) +
                          " (a file for the simulator is given as --simulator=FILE; a show to "
                          "open goes before --simulator or after --)";
                break;
            }
            o.showFiles << QFile::decodeName(argv[i]);
            continue;
        }
        const bool twoDashes = argument[1] == '-';
        std::string_view name = argument.substr(twoDashes ? 2 : 1);
        std::string_view value;
        const std::size_t equals = name.find('=');
        const bool hasValue = equals != std::string_view::npos;
        if (hasValue) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        const OwnOption *own = nullptr;
        for (const OwnOption &option : kOwnOptions)
            if (twoDashes ? name == option.name
                          : (option.letter && name == std::string_view(&option.letter, 1)))
                own = &option;
        bool qtValue = false;
        if (own) {
            const bool valueFits = own->value == Value::None       ? !hasValue
                                   : own->value == Value::Required ? hasValue && !value.empty()
                                                                   : !hasValue || !value.empty();
            if (valueFits)
                own->apply(o, value);
            else
                o.error = "unknown option " + QByteArray(argv[i]);
        } else if (isQtOption(name, &qtValue)) {
            if (qtValue && !hasValue)
                ++i; // Qt's value, not an argument of ours
        } else {
            o.error = "unknown option " + QByteArray(argv[i]);
        }
    }
    if (o.error.isEmpty()) {
        QString why;
        if (!o.simulator && o.simulatorArguments.anyFaults())
            o.error = "--simulator-faults needs --simulator: only the simulated Lm740 has faults "
                      "to set";
        else if (!o.simulatorArguments.setups(&o.simulators, &why))
            o.error = why.toUtf8();
    }
    return o;
}

} // namespace

int main(int argc, char *argv[])
{
    // A write past the user's file-size limit fails with its reason, like a full disk, instead of
    // ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    const Options options = readOptions(argc, argv);
    if (options.help) {
        printUsage(stdout);
        return 0;
    }
    if (options.version) {
        std::printf("lm740 %s\n", LM740_VERSION);
        return 0;
    }
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "lm740: %s\n\n", lm740::printableBytes(options.error).constData());
        printUsage(stderr);
        return 2;
    }

    // The bus, and the simulated controller on it, outlive the window that talks to them.
    std::unique_ptr<lm740::UsbBus> libusb;
    std::unique_ptr<lm740::SimulatorSession> simulator;
    lm740::UsbBus *bus = nullptr;
    if (options.simulator) {
        simulator = std::make_unique<lm740::SimulatorSession>();
        QString error;
        if (!simulator->start(options.simulators, &error)) {
            std::fprintf(stderr, "lm740: %s\n", qPrintable(error));
            return 1;
        }
        bus = &simulator->bus();
    } else {
        libusb = std::make_unique<lm740::LibusbBus>();
        bus = libusb.get();
    }
    lm740::setDefaultUsbBus(bus);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lm740"));
    QApplication::setApplicationVersion(QStringLiteral(LM740_VERSION));
    lm740::QuitOnSignal quitOnSignal;

    lm740::Translations translations;
    translations.install(app);

    // What the window remembers between runs; a simulated controller's runs keep theirs apart.
    lm740::desktop::setStateFile(lm740::desktop::defaultStateFile(options.simulator));

    QPointer<MainWindow> window = new MainWindow; // deletes itself on "Exit"
    window->setAttribute(Qt::WA_DeleteOnClose);
    // With several simulated controllers the dock watches the one the window works with.
    for (int i = 0; simulator && i < simulator->controllerCount(); ++i)
        window->showSimulatedController(simulator->controller(i),
                                        options.simulators[std::size_t(i)].faults,
                                        simulator->simBus().socketOf(simulator->controller(i)));
    const bool placed = window->desktop().restoreWindowPlace();
    window->show();
    if (!placed)
        window->resize(800, 700);
    window->recovery().start();
    // A signal that finds the window blocked ends the program from the watchdog's thread, with
    // the snapshot of the show the window keeps for it.
    quitOnSignal.setLastWords(window->recovery().lastWords());
    window->offerRecovery();
    // Once the window is up, so that its questions and errors stand over it.
    if (!options.showFiles.isEmpty())
        QTimer::singleShot(0, window, [window, files = options.showFiles] {
            for (const QString &file : files)
                if (window)
                    window->openShowFile(file);
        });

    int result = app.exec();
    // Ended by a signal, which cannot ask: the edits go to the recovery file, offered next time.
    if (quitOnSignal.received() && window)
        window->recovery().saveNow();

    delete window; // still there when a signal ended the loop
    lm740::setDefaultUsbBus(nullptr);
    if (simulator) {
        QString error;
        if (!simulator->finish(&error)) {
            std::fprintf(stderr, "lm740: %s\n", qPrintable(error));
            result = result ? result : 1;
        }
    }
    return result;
}
