// The commands that talk to the controller a byte or a request at a time: info, run, blackout,
// get and set. Scenes, chasers and programs are numbered from 1, as the window's buttons are.
#include "ctl.h"

#include "release.h"
#include "settings_layout.h"
#include "show.h"
#include "usb_requests.h"

#include <algorithm>
#include <cstdio>

namespace lm740::ctl {

namespace {

struct Parameter
{
    const char *name;  // as the command line names it
    const char *label; // as info shows it
    const char *what;  // in messages
    int address;
    int min;
    int max;
};

// The header bytes a user may read and set. Lamps and scene time have the ranges the window's
// spin boxes allow; the colour mode is the controller's, any byte.
constexpr Parameter kParameters[] = {
    {"lamps", "lamps", "lamp count", layout::kLampsNumber, kMinLamps, kMaxLamps},
    {"scene-time", "scene time", "global scene time", layout::kInSceneTime, kMinSceneTime,
     kMaxSceneTime},
    {"color-mode", "color mode", "color mode", layout::kColorMode, 0, 255},
};

const Parameter *parameter(const QString &name)
{
    for (const Parameter &p : kParameters)
        if (name == QLatin1String(p.name))
            return &p;
    return nullptr;
}

int unknownParameter(const QString &name)
{
    return usage(
        QStringLiteral("unknown setting \"%1\": it is lamps, scene-time or color-mode").arg(name));
}

} // namespace

int fail(const QString &message)
{
    std::fprintf(stderr, "lm740ctl: %s\n", qPrintable(message));
    return kFailed;
}

int usage(const QString &message)
{
    std::fprintf(stderr, "lm740ctl: %s (see lm740ctl --help)\n", qPrintable(message));
    return kUsage;
}

void out(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
}

int number(const QString &text, const char *what, int min, int max, int *status, bool item)
{
    bool ok = false;
    // Digits only: no sign, no spaces, no "0x"; toInt alone would take " 3" and "+3".
    const bool digits =
        !text.isEmpty() && text.size() <= 9 &&
        std::all_of(text.begin(), text.end(), [](QChar ch) { return ch.isDigit(); });
    const int n = digits ? text.toInt(&ok, 10) : 0;
    if (ok && n >= min && n <= max)
        return n;
    const QString name = QLatin1String(what);
    const QString range = QStringLiteral("%1 to %2").arg(min).arg(max);
    if (item)
        *status = usage(QStringLiteral("there is no %1 %2: %1s are numbered %3, as in the window")
                            .arg(name, text, range));
    else
        *status = usage(
            QStringLiteral("\"%1\" is no %2: it is a whole number from %3").arg(text, name, range));
    return -1;
}

bool readByte(Context &c, int address, const char *what, quint8 *value)
{
    char byte = 0;
    if (c.link->getBytes(address, &byte, 1) != 1) {
        controllerFailed(
            c, QStringLiteral("could not read the %1 from the Lm740").arg(QLatin1String(what)));
        return false;
    }
    *value = quint8(byte);
    return true;
}

int controllerFailed(Context &c, const QString &message)
{
    // The upgrade's own requests are for an upgrade the user started, not for finding out whether
    // the controller waits in its upgrade mode. One that still answers who it is, yet refused the
    // request, may be waiting there: the line says so, and how to leave it.
    if (c.device->open() == 0)
        return fail(QStringLiteral("%1; it still answers: perhaps it waits in its upgrade mode, "
                                   "where it takes only a firmware upgrade (lm740ctl upgrade "
                                   "FILE.upg); then unplug its power connector and plug it in "
                                   "again to start it as usual")
                        .arg(message));
    return fail(message);
}

int info(Context &c)
{
    if (!c.args.isEmpty())
        return usage(QStringLiteral("info takes no arguments"));
    if (!c.open())
        return kFailed;
    out(QStringLiteral("Lm740:        found%1")
            .arg(c.simulated ? QStringLiteral(" (simulated)") : QString()));
    out(QStringLiteral("id:           %1").arg(usb::kLm740Id));
    out(QStringLiteral("port:         %1").arg(c.device->openPort()));

    QByteArray version;
    if (c.link->readVersion(&version) != usb::kVersionLength)
        return fail(QStringLiteral("could not read the firmware version from the Lm740"));
    const int release = releaseNumber(QString::fromLatin1(version));
    QString firmware = QStringLiteral("firmware:     %1").arg(QString::fromLatin1(version));
    if (release < 0)
        firmware += QStringLiteral(" (no release number)");
    else if (release != kRequiredRelease)
        firmware += QStringLiteral(" (release %1; this program is made for release %2)")
                        .arg(release)
                        .arg(kRequiredRelease);
    else
        firmware += QStringLiteral(" (release %1)").arg(release);
    out(firmware);

    for (const Parameter &p : kParameters) {
        quint8 value = 0;
        if (!readByte(c, p.address, p.what, &value))
            return kFailed;
        out(QStringLiteral("%1 %2%3")
                .arg(QString::fromLatin1(p.label) + QLatin1Char(':'), -13)
                .arg(value)
                .arg(p.address == layout::kInSceneTime ? QStringLiteral(" s") : QString()));
    }
    // What the controller keeps in this byte is its own affair: it does not follow the item that
    // plays (it stays as it was after run scene 3). Shown as stored, by its place.
    quint8 now = 0;
    if (!readByte(c, layout::kNumberNow, "number-now byte", &now))
        return kFailed;
    out(QStringLiteral("number now:   %1 (header byte %2, as stored; not the item that plays)")
            .arg(now)
            .arg(layout::kNumberNow));
    return kOk;
}

int run(Context &c)
{
    if (c.args.size() != 2)
        return usage(QStringLiteral("run takes scene, chaser or program and its number"));
    const QString &kind = c.args[0];
    int (ControllerLink::*start)(int) = nullptr;
    int count = 0;
    if (kind == QLatin1String("scene")) {
        start = &ControllerLink::runScene;
        count = kSceneCount;
    } else if (kind == QLatin1String("chaser")) {
        start = &ControllerLink::runChaser;
        count = kChaserCount;
    } else if (kind == QLatin1String("program")) {
        start = &ControllerLink::runProgram;
        count = kProgramCount;
    } else {
        return usage(QStringLiteral("cannot run \"%1\": run scene, chaser or program").arg(kind));
    }
    int status = kOk;
    const int n = number(c.args[1], qPrintable(kind), 1, count, &status, true);
    if (status != kOk)
        return status;
    if (!c.open())
        return kFailed;
    if ((c.link->*start)(n - 1) < 0)
        return controllerFailed(
            c,
            QStringLiteral("the Lm740 did not take the command to run %1 %2").arg(kind, c.args[1]));
    return kOk;
}

int blackout(Context &c)
{
    if (!c.args.isEmpty())
        return usage(QStringLiteral("blackout takes no arguments"));
    if (!c.open())
        return kFailed;
    if (c.link->blackout() < 0)
        return controllerFailed(c, QStringLiteral("the Lm740 did not take the blackout command"));
    return kOk;
}

int get(Context &c)
{
    if (c.args.size() != 1)
        return usage(QStringLiteral("get takes one setting: lamps, scene-time or color-mode"));
    const Parameter *p = parameter(c.args[0]);
    if (!p)
        return unknownParameter(c.args[0]);
    if (!c.open())
        return kFailed;
    quint8 value = 0;
    if (!readByte(c, p->address, p->what, &value))
        return kFailed;
    out(QString::number(value));
    return kOk;
}

int set(Context &c)
{
    if (c.args.size() != 2)
        return usage(QStringLiteral("set takes a setting (lamps, scene-time or color-mode) and "
                                    "its value"));
    const Parameter *p = parameter(c.args[0]);
    if (!p)
        return unknownParameter(c.args[0]);
    int status = kOk;
    const int value = number(c.args[1], p->what, p->min, p->max, &status);
    if (status != kOk)
        return status;
    if (!c.open())
        return kFailed;
    if (c.link->setByte(p->address, quint8(value)) != 1)
        return controllerFailed(
            c, QStringLiteral("could not set the %1 of the Lm740").arg(QLatin1String(p->what)));
    return kOk;
}

} // namespace lm740::ctl
