// Crash recovery: the show saved in the background to the user's state folder
// ($XDG_STATE_HOME/lm740/, ~/.local/state/lm740/ without it) as a .set image plus a small text
// file with what the image cannot hold (values beyond its fields, the spare lamp slot, the item
// shown). Each running program writes only files named after its own process and holds a lock
// beside them, so two programs never write the same file; files whose lock no living program
// holds were left by a program that crashed or was killed, and are offered at the next start.
#pragma once

#include "show.h"

#include <QDateTime>
#include <QString>

#include <atomic>
#include <memory>
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

    // The newest recovery that no running program holds, if any.
    struct Left
    {
        QString base; // path without suffix
        QDateTime saved;
    };
    std::optional<Left> findLeft() const;
    // Reads a recovery into *show (records, lamp count, scene time and selection). False with
    // *error set when its image cannot be read.
    static bool read(const Left &left, Show *show, QString *error = nullptr);
    // A recovery offered and declined: its files go at this program's next save, which holds
    // a newer show.
    void replaceAtNextSave(const Left &left);
    // A recovery restored into this program: its show is this program's now, so its files go at
    // this program's next save and also when this program's own files go.
    void adopt(const Left &left);

    // Writes a copy of the show from a thread of its own; false (nothing started) while the
    // previous save is still being written.
    bool saveInBackground(const Show &show);
    // Writes it now, for the signals that end the program without a question.
    bool saveNow(const Show &show, QString *error = nullptr);
    void waitForSave();
    bool saving() const { return m_busy; }
    // Nothing left to recover (a clean exit, or every change kept): this program's files go,
    // and those of a recovery it restored.
    void remove();

private:
    bool write(const Show &show, QString *error);
    // Removes the files of the recoveries listed; with `all` false only the adopted ones.
    static void removeLeft(const QList<QPair<QString, bool>> &left, bool all);

    QString m_folder;
    QString m_base;
    std::unique_ptr<QLockFile> m_lock;
    std::thread m_thread;
    std::atomic<bool> m_busy{false};
    // Recoveries whose files go at the next save: the base and whether it was adopted.
    QList<QPair<QString, bool>> m_replaced;
};

} // namespace lm740
