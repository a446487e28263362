// What lm740ctl does differently on a terminal: it asks before it destroys, and it shows how far a
// long transfer has come. In a script it does neither, so that its output stays clean. Ctrl+C
// during a transfer asks the transfer to stop between two blocks instead of killing the program
// halfway through a file.
#pragma once

#include <QString>

namespace lm740::ctl {

bool inputIsTerminal();
bool errorIsTerminal();

// Asks `question` on stderr and reads the answer from stdin: true for "y" or "yes".
bool confirm(const QString &question);

// One line on stderr, rewritten in place, while a transfer runs; nothing when stderr is no
// terminal. The line is ended when the object goes.
class ProgressLine
{
public:
    ProgressLine(const QString &what, int total);
    ~ProgressLine();
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    void show(int done);

private:
    QString m_what;
    int m_total;
    int m_shown = -1;
    bool m_terminal;
};

// While one lives, SIGINT, SIGTERM and SIGHUP set a flag instead of ending the program.
class Interruption
{
public:
    Interruption();
    ~Interruption();
    Interruption(const Interruption &) = delete;
    Interruption &operator=(const Interruption &) = delete;

    static bool requested();
};

} // namespace lm740::ctl
