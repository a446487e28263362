// Crash recovery: the show saved in the background to the user's state folder
// ($XDG_STATE_HOME/lm740/, ~/.local/state/lm740/ without it) as a .set image plus a small text
// file with what the image cannot hold (values beyond its fields, the spare lamp slot, the item
// shown). Each running program writes only files named after its own process and holds a lock
// beside them, so two programs never write the same file; files whose lock no living program
// holds were left by a program that crashed or was killed, and are offered at the next start. The
// program offered such files takes their lock and keeps it until it saves over them or ends, so
// two programs started together are never offered the same copy; a claim lapses with the program
// that made it, however it ends. A start also removes the locks of programs that ended before they
// wrote a copy, so that they do not pile up.
#pragma once

#include "layout.h"
#include "show.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class QLockFile;

namespace lm740 {

class RecoveryFile
{
public:
    // Takes this program's name and lock in `folder`; an empty folder means the default one.
    explicit RecoveryFile(const QString &folder = {});
    // Waits for a save under way; the files stay (a clean exit calls remove() first).
    ~RecoveryFile();
    RecoveryFile(const RecoveryFile &) = delete;
    RecoveryFile &operator=(const RecoveryFile &) = delete;

    static QString defaultFolder();
    QString folder() const { return m_folder; }
    // The image this program writes.
    QString path() const { return m_base + QStringLiteral(".set"); }

    // A recovery that a program left.
    struct Left
    {
        QString base; // path without suffix
        QDateTime saved;
    };
    // The newest recovery that no running program holds, if any, claimed for this program: until
    // its files go at this program's next save (it holds a newer show then), or this program
    // ends, no other program is offered it.
    std::optional<Left> claimLeft();
    // Reads a recovery into *show (records, lamp count, scene time and selection) and, when
    // `layout` is given, the layout its lamps hung in into *layout (none: a strip). False with
    // *error set when its image cannot be read.
    static bool read(const Left &left, Show *show, QString *error = nullptr,
                     std::optional<Layout> *layout = nullptr);
    // A claimed recovery restored into this program: its show is this program's now, so its files
    // also go when this program's own files go.
    void adopt(const Left &left);

    // Writes a copy of the show from a thread of its own; false (nothing started) while the
    // previous save is still being written, or when the records are those of the last copy.
    bool saveInBackground(const Show &show);
    // Writes it now, for the signals that end the program without a question.
    bool saveNow(const Show &show, QString *error = nullptr);
    // The show as it stands, kept for saveSnapshot(); none while nothing needs saving.
    void setSnapshot(const Show *show);
    // The layout the show's lamps hang in (none: a strip), kept with every copy from now on. The
    // window holds it beside the show, not in its records.
    void setLayout(const std::optional<Layout> &layout);
    // Writes the last snapshot now, from any thread: for a program that is blocked and must end.
    bool saveSnapshot();
    void waitForSave();
    bool saving() const { return m_busy; }
    // Nothing left to recover (a clean exit, or every change kept): this program's files go,
    // and those of a recovery it restored.
    void remove();

private:
    // Removes the locks of programs that ended before they wrote a copy.
    void removeLoneLocks();
    // A recovery this program claimed: its files go at the next save, and when it was adopted
    // also when this program's own files go.
    struct Claim
    {
        QString base;
        bool adopted = false;
        std::shared_ptr<QLockFile> lock;
    };
    bool write(const Show &show, const std::optional<Layout> &layout, QString *error);
    std::optional<Layout> layout();
    // Removes the files of the claims listed and lets them go; with `all` false only the adopted
    // ones.
    static void release(const QList<Claim> &claims, bool all);
    // Forgets the claims let go (only while no save is under way).
    void dropReleased();

    QString m_folder;
    QString m_base;
    std::unique_ptr<QLockFile> m_lock;
    std::thread m_thread;
    std::atomic<bool> m_busy{false};
    QList<Claim> m_claims;
    // The records and layout of the copy on disk, while there is one (set by the thread that
    // wrote it).
    std::optional<std::pair<Show, std::optional<Layout>>> m_written;
    // Guards the snapshot and the layout, which the signal watchdog's thread writes.
    std::mutex m_snapshotMutex;
    std::unique_ptr<Show> m_snapshot;
    std::optional<Layout> m_layout;
};

} // namespace lm740
