#include "terminal.h"

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace lm740::ctl {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void noteInterruption(int)
{
    g_interrupted = 1;
}

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction g_previous[std::size(kSignals)];

} // namespace

bool inputIsTerminal()
{
    return ::isatty(STDIN_FILENO) == 1;
}

bool errorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

bool confirm(const QString &question)
{
    std::fprintf(stderr, "%s [y/N] ", qPrintable(question));
    std::fflush(stderr);
    char line[64] = {};
    if (!std::fgets(line, sizeof line, stdin))
        return false;
    const QString answer = QString::fromLocal8Bit(line).trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes");
}

ProgressLine::ProgressLine(const QString &what, int total)
    : m_what(what), m_total(total > 0 ? total : 1), m_terminal(errorIsTerminal())
{
}

ProgressLine::~ProgressLine()
{
    if (m_terminal && m_shown >= 0)
        std::fputc('\n', stderr);
}

void ProgressLine::show(int done)
{
    const int percent = int(qint64(done) * 100 / m_total);
    if (!m_terminal || percent == m_shown)
        return;
    m_shown = percent;
    std::fprintf(stderr, "\r%s: %3d %%", qPrintable(m_what), percent);
    std::fflush(stderr);
}

Interruption::Interruption()
{
    // Not cleared: a Ctrl+C that came while the last one was done with (a backup's file being
    // written) still stops the next pass before its first block.
    struct sigaction action = {};
    action.sa_handler = noteInterruption;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &action, &g_previous[i]);
}

Interruption::~Interruption()
{
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &g_previous[i], nullptr);
}

bool Interruption::requested()
{
    return g_interrupted != 0;
}

} // namespace lm740::ctl
