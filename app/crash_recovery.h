// Crash recovery: while the show is modified it is saved in the background every 30 s to the
// recovery file; a signal that ends the program without a question saves it at once; a clean
// exit, and every change kept, removes it; the next start offers what a crashed or killed program
// left.
#pragma once

#include "layout.h"
#include "show.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QTimer;
class QWidget;

namespace lm740 {
class RecoveryFile;
class ShowDocument;
} // namespace lm740

class CrashRecovery : public QObject
{
    Q_OBJECT
public:
    static constexpr int kAutosaveMs = 30000;
    static constexpr int kSnapshotMs = 500;

    CrashRecovery(lm740::ShowDocument &document, QObject *parent);
    ~CrashRecovery() override;

    // From here on the show is saved to the recovery file in `folder` (empty: the user's state
    // folder) every 30 s while it is modified. main() starts it; tests give a folder of their own.
    void start(const QString &folder = {});
    // One background save, as the timer makes it.
    void autosave();
    // A signal is ending the program and nothing can be asked: the modified show is saved now.
    void saveNow();
    // What a signal watchdog calls from its own thread when the window is blocked: the snapshot
    // of the modified show, at most kSnapshotMs old, written. Empty before start().
    std::function<void()> lastWords() const;
    // A clean exit: nothing to recover from it.
    void cleanExit();
    // The layout the show's lamps hang in (none: a strip), saved with the show from now on.
    void setLayout(const std::optional<lm740::Layout> &layout);
    // Asks whether to restore what a program that crashed or was killed left; on Yes, the show
    // it left, whose files are this program's from now on, and layoutRestored() with the layout
    // its lamps hung in. Nothing when there is nothing to offer, on No, or when it cannot be read
    // (which the user is told).
    std::optional<lm740::Show> takeLeft(QWidget *parent);

    // Null until start().
    lm740::RecoveryFile *file() const { return m_file.get(); }
    QTimer *timer() const { return m_timer; }
    // The file let go, as it is, and no more saves: for a folder about to go.
    void close();

Q_SIGNALS:
    // The show takeLeft() restores hung in `layout` (none: a strip).
    void layoutRestored(const std::optional<lm740::Layout> &layout);

private:
    lm740::ShowDocument &m_document;
    // Shared with the watchdog's last words, which may outlive the window.
    std::shared_ptr<lm740::RecoveryFile> m_file;
    QTimer *m_timer = nullptr;
    std::optional<lm740::Layout> m_layout;
};
