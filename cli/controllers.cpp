// Which Lm740 a command reaches: list names every one connected, and a command that talks to a
// controller gets the one --device (or LM740_DEVICE) names, or the only one there is. With two or
// more and no name it refuses and lists them: a show sent to the wrong controller is lost work.
#include "ctl.h"

#include "release.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace lm740::ctl {

namespace {

// "1-4.2  rel_0_16  serial 0042": one line a script can cut into words.
QString line(const ControllerInfo &c)
{
    QString text =
        c.port + QStringLiteral("  ") +
        (c.version.isEmpty() ? QStringLiteral("(no version)") : QString::fromLatin1(c.version));
    if (!c.serial.isEmpty())
        text += QStringLiteral("  serial ") + QString::fromLatin1(c.serial);
    return text;
}

// The controllers on stderr, under the line that says why they are listed; kUsage.
int refuseWithList(const QString &why, const std::vector<ControllerInfo> &controllers)
{
    std::fprintf(stderr, "lm740ctl: %s\n", qPrintable(why));
    for (const ControllerInfo &c : controllers)
        std::fprintf(stderr, "  %s\n", qPrintable(line(c)));
    return kUsage;
}

} // namespace

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
    case UsbDevice::SearchResult::Several:
        break;
    }
    return simulated ? QStringLiteral("no Lm740 found (the simulated one is absent)")
                     : QStringLiteral("no Lm740 found on USB");
}

int chooseController(UsbDevice &device, const QString &name, bool simulated,
                     const QString &untouched)
{
    const auto ended = [&untouched](const QString &why) {
        return untouched.isEmpty() ? why : QStringLiteral("%1; %2").arg(why, untouched);
    };
    if (name.isEmpty()) {
        // The search finds out whether there is more than one; with one, it costs nothing more.
        device.setChoiceRequired(true);
        if (device.open() == 0) {
            // The one found is the one meant: a search again after a lost request (a retried
            // block of a restore) must not reach another one plugged in meanwhile.
            device.setName(device.openPort());
            return kOk;
        }
        if (device.lastSearchResult() != UsbDevice::SearchResult::Several)
            return fail(ended(notFound(device, simulated))); // not asked again: asked its times
        const std::vector<ControllerInfo> found = device.listControllers();
        if (found.size() < 2) // one went in the meantime: the next search finds the other
            return kOk;
        return refuseWithList(
            ended(QStringLiteral("%1 Lm740s are connected; choose one with --device=NAME (or "
                                 "LM740_DEVICE=NAME), NAME being its port or serial number")
                      .arg(found.size())) +
                QLatin1Char(':'),
            found);
    }
    const std::vector<ControllerInfo> found = device.listControllers();
    std::vector<ControllerInfo> named;
    for (const ControllerInfo &c : found)
        if (c.isNamed(name))
            named.push_back(c);
    if (named.size() > 1)
        return refuseWithList(
            ended(QStringLiteral("%1 Lm740s answer to the name %2; choose one by its port")
                      .arg(named.size())
                      .arg(name)) +
                QLatin1Char(':'),
            named);
    if (named.empty()) {
        if (found.empty())
            return fail(ended(notFound(device, simulated)));
        QStringList ports;
        for (const ControllerInfo &c : found)
            ports << c.port;
        return fail(ended(QStringLiteral("no Lm740 is named %1; connected: %2 (see lm740ctl list)")
                              .arg(name, ports.join(QStringLiteral(", ")))));
    }
    // By its port from here on: a serial number may be shared, a port never is.
    device.setName(named.front().port);
    return kOk;
}

int list(Context &c)
{
    if (!c.args.isEmpty())
        return usage(QStringLiteral("list takes no arguments"));
    const std::vector<ControllerInfo> found = c.device->listControllers();
    if (found.empty())
        return fail(notFound(*c.device, c.simulated));
    if (c.json) {
        QJsonArray array;
        for (const ControllerInfo &info : found) {
            const QString version = QString::fromLatin1(info.version);
            array.append(QJsonObject{{QStringLiteral("port"), info.port},
                                     {QStringLiteral("serial"), QString::fromLatin1(info.serial)},
                                     {QStringLiteral("version"), version},
                                     {QStringLiteral("release"), releaseNumber(version)}});
        }
        std::fputs(QJsonDocument(array).toJson(QJsonDocument::Indented).constData(), stdout);
        return kOk;
    }
    for (const ControllerInfo &info : found)
        out(line(info));
    return kOk;
}

} // namespace lm740::ctl
