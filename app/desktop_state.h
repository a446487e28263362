// What the program remembers between runs (the recent shows, the window's size, place and docks),
// and the show files it opens by name. Nothing is kept until main() names the file to keep it in:
// tests, and every window that main() did not make, leave the user's settings alone.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QLabel;
class QMainWindow;
class QMenu;
class QSettings;
class QStatusBar;
class QTimer;

// The window on the desktop: File > Recent Shows, the window's size, place and docks kept between
// runs, and the status line's label that says, for a few seconds, that a command has been done.
class DesktopState : public QObject
{
    Q_OBJECT
public:
    // The recent shows go at the end of `fileMenu`, the confirmations at the end of `statusBar`.
    DesktopState(QMainWindow *window, QMenu *fileMenu, QStatusBar *statusBar);

    // Says `text` in the status line for a few seconds, beside the connection and online labels.
    void confirm(const QString &text);
    QString confirmation() const;
    // A show file saved or loaded: it heads the recent shows, and the status line says so, with
    // how many values the load could not keep as the file has them (`changed`, in words).
    void fileDone(const QString &fileName, bool loaded, const QStringList &changed = {});
    // The newest first.
    const QStringList &recentFiles() const { return m_recentFiles; }
    QMenu *recentShowsMenu() const { return m_recentShowsMenu; }

    // The window's size, place and docks as the last run left them; false when none is kept.
    bool restoreWindowPlace();
    void keepWindowPlace();

Q_SIGNALS:
    // A recent show that is still there was chosen.
    void openRequested(const QString &path);

private:
    void keepRecentShows();
    void fillRecentShows();
    void openRecentShow(const QString &path);

    QMainWindow *m_window;
    QMenu *m_recentShowsMenu = nullptr;
    QLabel *m_confirmationLabel = nullptr;
    QTimer *m_confirmationTimer = nullptr;
    QStringList m_recentFiles;
};

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

} // namespace lm740::desktop
