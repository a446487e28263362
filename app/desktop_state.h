// What the program remembers between runs (the recent shows, the window's size, place and docks),
// and the show files it opens by name. Nothing is kept until main() names the file to keep it in:
// tests, and every window that main() did not make, leave the user's settings alone.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

namespace lm740::desktop {

// The recent shows list holds at most this many files, the newest first.
constexpr int kRecentShows = 8;

// The file the window's state is kept in: one for runs on a real controller, another for runs
// with --simulator, so that trying things out never changes what the user's own runs remember.
QString defaultStateFile(bool simulator);
// Names the file (empty: keep nothing). main() does this before it makes the window.
void setStateFile(const QString &path);
// The settings in the named file, or null when nothing is kept.
std::unique_ptr<QSettings> openState();

// `list` with `path` at its front (as an absolute, clean path), once, and at most kRecentShows
// long.
QStringList withRecent(QStringList list, const QString &path);

// The show file types by their suffix, in any case: 0 .set, 1 .scn, 2 .scs, 3 .chr, 4 .chs, 5 .pgm,
// 6 .pgs, and -1 for a file that no Load command opens.
int showFileType(const QString &fileName);

} // namespace lm740::desktop
