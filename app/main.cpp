// Entry point: application, translation, the main window, the event loop. Before them the
// command line: --help, --version and --simulator[=FILE], which puts a simulated Lm740 on the
// link instead of the machine's USB buses.
#include "libusb_bus.h"
#include "main_window.h"
#include "quit_on_signal.h"
#include "sim_options.h"
#include "translations.h"

#include <QApplication>
#include <QPointer>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const char *const kUsage =
    "Usage: lm740 [--simulator[=FILE]] [Qt options]\n"
    "Control software for the Lm740 RGB LED lighting controller.\n"
    "\n"
    "  --simulator         work with a simulated Lm740 instead of one on USB\n"
    "  --simulator=FILE    the same, with the simulated controller's settings memory kept in FILE\n"
    "                      (a .set file of 131072 bytes, read at start and written back at the\n"
    "                      end; created when missing)\n"
    "  --simulator-fault=SPEC  a fault of the simulated controller, for trials (see lm740ctl(1))\n"
    "  -h, --help          show this help and exit\n"
    "  -v, --version       show the version and exit\n";

struct Options
{
    bool help = false;
    bool version = false;
    bool simulator = false;
    QString simulatorFile;
    QStringList simulatorFaults;
    QString unknown;
};

// Qt's own options, which QApplication takes with two dashes as well as with one
// ("--platform offscreen", "--style=fusion"): they are Qt's to read, not unknown options.
bool isQtOption(const char *argument)
{
    static const QByteArray names(
        " platform platformpluginpath platformtheme plugin qwindowgeometry"
        " qwindowicon qwindowtitle reverse session display geometry style"
        " stylesheet widgetcount title name icon nograb dograb sync"
        " qmljsdebugger ");
    const QByteArray name = QByteArray(argument + 2).split('=').constFirst();
    return !name.isEmpty() && names.contains(QByteArray(" ") + name + " ");
}

// Read before QApplication exists, so that --help and --version work without a display. Qt's own
// options are left for QApplication.
Options readOptions(int argc, char *argv[])
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h")) {
            o.help = true;
        } else if (!std::strcmp(a, "--version") || !std::strcmp(a, "-v")) {
            o.version = true;
        } else if (!std::strcmp(a, "--simulator")) {
            o.simulator = true;
        } else if (!std::strncmp(a, "--simulator=", 12)) {
            o.simulator = true;
            o.simulatorFile = QString::fromLocal8Bit(a + 12);
            if (o.simulatorFile.isEmpty())
                o.unknown = QString::fromLocal8Bit(a);
        } else if (!std::strncmp(a, "--simulator-fault=", 18)) {
            o.simulatorFaults << QString::fromLocal8Bit(a + 18);
        } else if (!std::strncmp(a, "--", 2) && !isQtOption(a) && o.unknown.isEmpty()) {
            o.unknown = QString::fromLocal8Bit(a);
        }
    }
    return o;
}

} // namespace

int main(int argc, char *argv[])
{
    const Options options = readOptions(argc, argv);
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("lm740 %s\n", "1.07");
        return 0;
    }
    if (!options.unknown.isEmpty()) {
        std::fprintf(stderr, "lm740: unknown option %s\n\n%s", qPrintable(options.unknown), kUsage);
        return 2;
    }

    // The bus, and the simulated controller on it, outlive the window that talks to them.
    std::unique_ptr<lm740::UsbBus> libusb;
    std::unique_ptr<lm740::SimulatorSession> simulator;
    lm740::UsbBus *bus = nullptr;
    if (options.simulator) {
        simulator = std::make_unique<lm740::SimulatorSession>();
        QString error;
        if (!simulator->addFaults(options.simulatorFaults, &error) ||
            !simulator->start(options.simulatorFile, &error)) {
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
    QApplication::setApplicationVersion(QStringLiteral("1.07"));
    lm740::QuitOnSignal quitOnSignal;

    lm740::Translations translations;
    translations.install(app);

    QPointer<MainWindow> window = new MainWindow; // deletes itself on "Exit"
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->resize(800, 700);

    int result = app.exec();

    delete window; // still there when a signal ended the loop
    lm740::setDefaultUsbBus(nullptr);
    if (simulator) {
        QString error;
        if (!simulator->finish(&error)) {
            std::fprintf(stderr, "lm740: cannot save the simulator's memory to %s: %s\n",
                         qPrintable(options.simulatorFile), qPrintable(error));
            result = result ? result : 1;
        }
    }
    return result;
}
