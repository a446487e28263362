#include "sim_options.h"

#include "sim_controller.h"
#include "usb_requests.h"

#include <QStringList>

#include <cmath>

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
        } else {
            return refuse("unknown setting (fail, latency, short, unplug or release)");
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
}

} // namespace lm740
