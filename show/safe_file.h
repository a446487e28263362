// Every file both programs read or write goes through here: a write replaces a file whole or not
// at all, and a read takes regular files only, so that neither a device node, a FIFO nor a full
// disk can lose a file or hang a program. Failures come back as the system's reason ("No space
// left on device", "Permission denied"), for the caller to put after the file's name.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <csignal>
#include <functional>

namespace lm740::files {

// While one lives, SIGINT, SIGTERM and SIGHUP wait in the calling thread and take effect when it
// goes, so that a write begun in between is finished, or undone, before the program ends.
class SignalsHeld
{
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld &) = delete;
    SignalsHeld &operator=(const SignalsHeld &) = delete;

private:
    sigset_t m_previous;
};

// Asked before a write replaces a file that is there, with the path it replaces (a link's
// target): false refuses the write, with *error the reason. Each thread has its own, none at
// first, so that the window's check sees its own writes and never a background thread's.
using ReplaceCheck = std::function<bool(const QString &path, QString *error)>;
// Sets this thread's check and returns the one it replaces.
ReplaceCheck setReplaceCheck(ReplaceCheck check);

// Writes `bytes` as fileName: into a new file beside it, synced, then renamed over it, so the file
// it replaces stays as it was until the new one is complete. A file that exists keeps its
// permissions; a link is followed and its target replaced. A fileName that exists and is not a
// regular file (a device, a FIFO, a folder) is refused untouched. False with *error set to the
// reason otherwise; nothing is left behind, not even when the program is told to end meanwhile
// (SignalsHeld). The new file is hidden, .NAME.<random>.part; one that a writer killed outright
// left behind is removed when the same file is written again.
bool writeFileSafely(const QString &fileName, const QByteArray &bytes, QString *error = nullptr);

struct FileContent
{
    QString name;
    QByteArray bytes;
};

// Writes several files as one: each is first written whole beside its target, and only when all
// are complete do they take their places, so that a failure (a full disk, a target that is not a
// regular file) leaves every target as it was. False with *failed naming the file and *error the
// reason.
bool writeFilesSafely(const QList<FileContent> &files, QString *failed = nullptr,
                      QString *error = nullptr);

// Writes `bytes` as a file that must not exist yet, as writeFileSafely() does, but never over
// another: false with *taken set when fileName exists (or appeared meanwhile), so that two writers
// that chose one name both keep their files.
bool writeNewFileSafely(const QString &fileName, const QByteArray &bytes, bool *taken,
                        QString *error = nullptr);

// Writes `files` (names within the folder) as the content of `folder`, so that the folder holds
// either what it held or all of them, also when the program is killed meanwhile: a folder that is
// missing, or holds nothing but files of these names, is made anew beside it (.NAME.<random>.part)
// and takes its place whole, swapped with the old one, which then goes. A folder that holds
// anything else too (a version-control folder, a file of the user's) keeps it: only these files
// are replaced in it, each whole, as writeFilesSafely() does. The folders above `folder` must
// exist. False with *failed naming the file (or folder) and *error the reason; then the folder is
// as it was.
bool writeFolderSafely(const QString &folder, const QList<FileContent> &files,
                       QString *failed = nullptr, QString *error = nullptr);

// Whether writeFileSafely() could write fileName now, found out by its own first steps, undone.
bool canWriteFileSafely(const QString &fileName, QString *error = nullptr);

// Reads at most `limit` bytes from the start of fileName, which must be a regular file (a FIFO
// does not block: it is refused). *size is the whole file's size. False with *error set to the
// reason otherwise.
bool readRegularFile(const QString &fileName, qint64 limit, QByteArray *bytes,
                     qint64 *size = nullptr, QString *error = nullptr);

} // namespace lm740::files
