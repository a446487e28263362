// Each built-in pattern script drawing 31 steps of a 10 x 17 grid, as a program of 170 lamps takes
// them: the median of several rounds in milliseconds, with its own engine made each time as a
// render does, and the processor time per render, which a busy machine inflates less. Each must
// stay within 20 ms of processor time. The argument is the number of rounds.
#include "bench_common.h"
#include "pattern_engine.h"

#include <QCoreApplication>

#include <cstdio>

using namespace lm740::pattern;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    const PatternEngine engine;
    const PatternEngine::Listing listing = engine.list();
    for (const PatternError &error : listing.errors)
        std::printf("not loaded: %s\n", qPrintable(error.text()));
    lm740::pattern::RenderRequest request;
    request.width = 10;
    request.height = 17;
    request.colors = {qRgb(255, 0, 0), qRgb(0, 0, 255)};
    request.maxFrames = 31;
    request.fit = lm740::Fit::Sample;
    bool within = listing.errors.empty();
    std::printf("%-24s %10s %8s %8s\n", "script", "median ms", "cpu ms", "steps");
    for (const PatternInfo &info : listing.patterns) {
        if (!info.builtIn)
            continue;
        std::vector<double> times;
        RenderResult result;
        const double cpuBefore = bench::cpuSeconds();
        for (int round = 0; round < rounds; ++round)
            times.push_back(bench::timeMs([&] { result = engine.render(info, request); }));
        const double cpu = (bench::cpuSeconds() - cpuBefore) * 1000 / rounds;
        within = within && cpu <= 20.0 && !result.error;
        std::printf("%-24s %10.2f %8.2f %8zu%s\n", qPrintable(info.name), bench::median(times), cpu,
                    result.frames.frames.size(),
                    result.error ? qPrintable(" " + result.error->text()) : "");
    }
    std::printf("%s\n", within ? "every script within 20 ms" : "OVER 20 ms or failed");
    return within ? 0 : 1;
}
