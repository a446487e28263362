// The simulated controller's faults as a person sets them on the command line, so that anyone can
// watch the program on a bad cable: one comma-separated list of name=value settings.
#pragma once

#include <QByteArray>
#include <QString>

namespace lm740 {

class SimController;

struct SimOptions
{
    double failProbability = 0.0;  // each request fails with this probability
    quint32 seed = 1;              // of the generator behind both probabilities
    double latencyMs = 0.0;        // waited out per request
    double shortProbability = 0.0; // an answer to the host comes one byte short
    int unplugAfter = 0;           // requests before the controller leaves the bus; 0 never
    int plugBackAfter = 0;         // searches of the bus without it before it comes back
    QByteArray release;            // the version text it reports; empty keeps its own

    // Reads a list such as "fail=0.3@7,latency=1,short=0.01,unplug=500:5,release=rel_0_15".
    // false with *error set (naming the setting at fault) when the text is not such a list.
    static bool parse(const QString &text, SimOptions *options, QString *error);
    void applyTo(SimController &controller) const;
};

// The lines that --help shows for the option.
extern const char *const kSimFaultsHelp;

} // namespace lm740
