// lm740ctl's shared pieces: what a command gets to work with, how it reports, and the numbers it
// checks. Every command returns the program's exit status: 0 done, 1 failed (one line on stderr
// says why), 2 used wrongly.
#pragma once

#include "controller_link.h"
#include "show.h"
#include "usb_device.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace lm740::ctl {

enum Status { kOk = 0, kFailed = 1, kUsage = 2 };

// "lm740ctl: <message>" on stderr; kFailed.
int fail(const QString &message);
// The same with a pointer to --help; kUsage.
int usage(const QString &message);
// A line on stdout.
void out(const QString &line);

struct Context
{
    QStringList args;      // the command's arguments, without the command's name
    bool yes = false;      // --yes: no questions
    bool json = false;     // --json
    bool noBackup = false; // --no-backup
    QString onto;          // --onto BASE.set (import)
    // What the command leaves as it was when no controller could be opened, said after why:
    // "nothing was written to the Lm740". Empty: nothing to say.
    QString untouched;
    // The options that only pattern takes, by name without "--", each with its values in the
    // order given; an option not given is not there.
    QMap<QString, QStringList> options;
    bool simulated = false;
    UsbDevice *device = nullptr; // null for the commands that need no controller
    ControllerLink *link = nullptr;
    // Finds and opens the controller; false after one line on stderr that says why there is none.
    // A command calls it once its arguments and files have passed their checks, so that a usage
    // error or a bad file is told as such, whether or not a controller is there.
    std::function<bool()> open;
};

// A whole number from `text` in min..max, for the thing `what` names: a numbered `item` ("scene")
// or a value ("lamp count"). On anything else *status is set to kUsage after one line that says
// what the numbers are.
int number(const QString &text, const char *what, int min, int max, int *status, bool item = false);

// One byte of the controller's settings memory, with the link's retries. False after one line on
// stderr that names `what`.
bool readByte(Context &c, int address, const char *what, quint8 *value);

// `message` about a request the controller did not take, as one failure line; when the controller
// still answers who it is, the line adds that it may be waiting in its upgrade mode.
int controllerFailed(Context &c, const QString &message);

// Why the controller could not be opened, in one line.
QString notFound(const UsbDevice &device, bool simulated);
// Points `device` at the controller `name` (a port or serial number) names, or, with no name, opens
// the only one there is and keeps to it. kOk, or the status after the lines that say why not.
// `untouched` (Context::untouched) ends the line of a refusal.
int chooseController(UsbDevice &device, const QString &name, bool simulated,
                     const QString &untouched = {});

// Keeps the bytes of `base` that packing did not change: where `image` (the packed show after a
// change) has the same byte as `unchanged` (the same show packed before it), the base's byte goes
// back, so that bytes no record covers and any header byte of the controller's own stay as they
// were.
void keepUnchanged(QByteArray &image, const QByteArray &unchanged, const QByteArray &base);

// A show as a .set file or a folder of exported text files holds it, with the lamp count and the
// global scene time as the window would use them.
struct ShowFiles
{
    std::unique_ptr<Show> show;
    int lamps = 0;
    int sceneTime = 0;
};
// False after one line on stderr that says why.
bool readAnyShow(const QString &path, ShowFiles *files);

// The commands. Each checks its own arguments.
int info(Context &c);
int run(Context &c);
int blackout(Context &c);
int get(Context &c);
int set(Context &c);
int backup(Context &c);
int restore(Context &c);
int upgradeFirmware(Context &c);
int show(Context &c);
int exportShow(Context &c);
int importShow(Context &c);
int list(Context &c);
int diff(Context &c);
int pattern(Context &c);

} // namespace lm740::ctl
