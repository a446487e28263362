#include "safe_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace lm740::files {

namespace {

thread_local ReplaceCheck t_replaceCheck;

bool failWith(int errorNumber, QString *error)
{
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(errorNumber));
    return false;
}

bool notRegular(QString *error)
{
    if (error)
        *error = QStringLiteral("it is not a regular file");
    return false;
}

// Where a write of fileName goes: the file itself, or the file a link points at. Refuses what
// exists and is not a regular file, and a file this user may not replace.
bool target(const QString &fileName, QByteArray *path, mode_t *mode, QString *error)
{
    *path = QFile::encodeName(fileName);
    *mode = 0;
    struct stat st;
    if (::stat(path->constData(), &st) != 0) {
        if (errno != ENOENT)
            return failWith(errno, error);
        return true; // a new file (or a dangling link, replaced by the file)
    }
    if (!S_ISREG(st.st_mode))
        return notRegular(error);
    if (::access(path->constData(), W_OK) != 0)
        return failWith(errno, error);
    *mode = st.st_mode & 07777;
    struct stat lst;
    if (::lstat(path->constData(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        char *resolved = ::realpath(path->constData(), nullptr);
        if (!resolved)
            return failWith(errno, error);
        *path = resolved;
        std::free(resolved);
    }
    return !t_replaceCheck || t_replaceCheck(QFile::decodeName(*path), error);
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray besideName(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : path.left(slash + 1);
    return folder + '.' + nameOf(path) + '.' +
           QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".part";
}

// Whether `entry` is a name besideName() gives for `name`.
bool isBesideName(const QByteArray &entry, const QByteArray &name)
{
    const QByteArray prefix = '.' + name + '.';
    const QByteArray suffix = ".part";
    if (!entry.startsWith(prefix) || !entry.endsWith(suffix) ||
        entry.size() <= prefix.size() + suffix.size())
        return false;
    const QByteArray random =
        entry.mid(prefix.size(), entry.size() - prefix.size() - suffix.size());
    return std::all_of(random.begin(), random.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); });
}

// Removes the files in the folder open as `fd` (not its folders) and then the folder `path`.
void removeFolder(int fd, const QByteArray &path)
{
    if (DIR *dir = ::fdopendir(::dup(fd))) {
        while (const dirent *e = ::readdir(dir))
            ::unlinkat(fd, e->d_name, 0); // "." and ".." and folders are refused: kept
        ::closedir(dir);
    }
    ::rmdir(path.constData());
}

// What writers killed outright (SIGKILL, a power cut) left beside `path`. A writer holds a lock on
// what it writes until it is in its place; the lock of one that was killed went with it, so a
// .part that can be locked belongs to nobody.
void removeLeftovers(const QByteArray &path)
{
    const QByteArray folder = folderOf(path);
    const QByteArray name = nameOf(path);
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent *e = ::readdir(dir)) {
        const QByteArray entry(e->d_name);
        if (!isBesideName(entry, name))
            continue;
        const QByteArray leftover = folder + '/' + entry;
        const int fd = ::open(leftover.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st;
        if (::fstat(fd, &st) == 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (S_ISREG(st.st_mode))
                ::unlink(leftover.constData());
            else if (S_ISDIR(st.st_mode))
                removeFolder(fd, leftover);
        }
        ::close(fd);
    }
    ::closedir(dir);
}

// A new file beside `path`, hidden and named so that no two writers meet, made with the user's
// umask (or the replaced file's permissions) and locked until it is closed; -1 with errno set when
// the folder takes none.
int createBeside(const QByteArray &path, mode_t mode, QByteArray *temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temporary = besideName(path);
        const int fd = ::open(temporary->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                              mode ? mode : 0666);
        if (fd >= 0)
            ::flock(fd, LOCK_EX | LOCK_NB); // new: nobody else can hold it
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

// A file written whole beside its target, not yet in its place; open, and so locked, until then.
struct Staged
{
    QByteArray temporary;
    QByteArray path;
    int fd = -1;

    void discard()
    {
        ::unlink(temporary.constData());
        close();
    }
    void close()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
};

bool stage(const QString &fileName, const QByteArray &bytes, Staged *staged, QString *error)
{
    mode_t mode = 0;
    if (!target(fileName, &staged->path, &mode, error))
        return false;
    removeLeftovers(staged->path);
    const int fd = createBeside(staged->path, mode, &staged->temporary);
    if (fd < 0)
        return failWith(errno, error);
    staged->fd = fd;
    // The umask does not narrow the permissions of the file being replaced.
    if (mode)
        ::fchmod(fd, mode);
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        const int reason = errno;
        staged->discard();
        return failWith(reason, error);
    }
    return true;
}

void syncFolderOf(const QByteArray &path)
{
    // The rename itself lasts once the folder is on the disk.
    const int folder = ::open(folderOf(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

} // namespace

SignalsHeld::SignalsHeld()
{
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&held, signal);
    pthread_sigmask(SIG_BLOCK, &held, &m_previous);
}

SignalsHeld::~SignalsHeld()
{
    pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}

ReplaceCheck setReplaceCheck(ReplaceCheck check)
{
    std::swap(check, t_replaceCheck);
    return check;
}

bool writeFileSafely(const QString &fileName, const QByteArray &bytes, QString *error)
{
    return writeFilesSafely({{fileName, bytes}}, nullptr, error);
}

bool writeFilesSafely(const QList<FileContent> &files, QString *failed, QString *error)
{
    const SignalsHeld held;
    std::vector<Staged> staged(std::size_t(files.size()));
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (!stage(files[i].name, files[i].bytes, &staged[std::size_t(i)], error)) {
            for (qsizetype j = 0; j < i; ++j)
                staged[std::size_t(j)].discard();
            if (failed)
                *failed = files[i].name;
            return false;
        }
    }
    // Every new file is complete: only renames are left, which take no room on the disk.
    for (std::size_t i = 0; i < staged.size(); ++i) {
        if (::rename(staged[i].temporary.constData(), staged[i].path.constData()) != 0) {
            const int reason = errno;
            for (std::size_t j = 0; j < staged.size(); ++j)
                j < i ? staged[j].close() : staged[j].discard();
            if (failed)
                *failed = files[qsizetype(i)].name;
            return failWith(reason, error);
        }
        syncFolderOf(staged[i].path);
    }
    for (Staged &s : staged)
        s.close();
    return true;
}

bool writeNewFileSafely(const QString &fileName, const QByteArray &bytes, bool *taken,
                        QString *error)
{
    const SignalsHeld held;
    *taken = false;
    Staged staged;
    if (!stage(fileName, bytes, &staged, error))
        return false;
    // Where the file system cannot rename without replacing, a second link does the same.
    int r = ::renameat2(AT_FDCWD, staged.temporary.constData(), AT_FDCWD, staged.path.constData(),
                        RENAME_NOREPLACE);
    if (r != 0 && (errno == EINVAL || errno == ENOSYS))
        r = ::link(staged.temporary.constData(), staged.path.constData());
    const int reason = errno;
    ::unlink(staged.temporary.constData()); // after the rename: nothing there any more
    staged.close();
    if (r != 0) {
        *taken = reason == EEXIST;
        return failWith(reason, error);
    }
    syncFolderOf(staged.path);
    return true;
}

namespace {

// Whether `folder` holds nothing but regular files named in `files`.
bool holdsOnly(const QByteArray &folder, const QList<FileContent> &files)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return false;
    bool only = true;
    while (const dirent *e = ::readdir(dir)) {
        const QByteArray entry(e->d_name);
        if (entry == "." || entry == "..")
            continue;
        struct stat st;
        const QString name = QFile::decodeName(entry);
        only = ::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
               S_ISREG(st.st_mode) &&
               std::any_of(files.begin(), files.end(),
                           [&](const FileContent &f) { return f.name == name; });
        if (!only)
            break;
    }
    ::closedir(dir);
    return only;
}

QList<FileContent> within(const QString &folder, const QList<FileContent> &files)
{
    QList<FileContent> placed;
    for (const FileContent &f : files)
        placed.append({folder + QLatin1Char('/') + f.name, f.bytes});
    return placed;
}

} // namespace

bool writeFolderSafely(const QString &folderName, const QList<FileContent> &files, QString *failed,
                       QString *error)
{
    const SignalsHeld held;
    QByteArray path = QFile::encodeName(folderName);
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    removeLeftovers(path);
    struct stat old;
    const bool exists = ::lstat(path.constData(), &old) == 0;
    if (exists && (!S_ISDIR(old.st_mode) || !holdsOnly(path, files)))
        return writeFilesSafely(within(QFile::decodeName(path), files), failed, error);

    // Made whole beside it, locked while it is made, so that a run killed meanwhile leaves only a
    // hidden folder that the next run removes.
    QByteArray temporary;
    int made = -1;
    for (int attempt = 0; attempt < 100 && made != 0; ++attempt) {
        temporary = besideName(path);
        made = ::mkdir(temporary.constData(), exists ? (old.st_mode & 07777) : 0777);
        if (made != 0 && errno != EEXIST)
            break;
    }
    if (made != 0) {
        if (failed)
            *failed = folderName;
        return failWith(errno, error);
    }
    const int fd = ::open(temporary.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        const int reason = errno;
        ::rmdir(temporary.constData());
        if (failed)
            *failed = folderName;
        return failWith(reason, error);
    }
    ::flock(fd, LOCK_EX | LOCK_NB);
    if (exists) // the umask does not narrow the permissions of the folder being replaced
        ::chmod(temporary.constData(), old.st_mode & 07777);
    auto undo = [&] {
        removeFolder(fd, temporary);
        ::close(fd);
    };
    QList<FileContent> inside = within(QFile::decodeName(temporary), files);
    if (!writeFilesSafely(inside, failed, error)) {
        if (failed) // named as the user knows it
            *failed = QFile::decodeName(path + '/') + QFileInfo(*failed).fileName();
        undo();
        return false;
    }
    int r = ::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, path.constData(),
                        exists ? RENAME_EXCHANGE : RENAME_NOREPLACE);
    // Where the file system cannot swap nor refuse to replace: with nothing in its place, a plain
    // rename takes it (over an empty folder made meanwhile at most).
    if (r != 0 && !exists && (errno == EINVAL || errno == ENOSYS))
        r = ::rename(temporary.constData(), path.constData());
    const int reason = errno;
    if (r != 0) {
        undo();
        // With a folder there, its files are replaced one by one, each whole.
        if (exists && (reason == EINVAL || reason == ENOSYS))
            return writeFilesSafely(within(QFile::decodeName(path), files), failed, error);
        if (failed)
            *failed = folderName;
        return failWith(reason, error);
    }
    ::close(fd); // the new folder's, now in its place
    if (exists) {
        // The old folder is now where the new one was made.
        const int oldFd = ::open(temporary.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (oldFd >= 0) {
            removeFolder(oldFd, temporary);
            ::close(oldFd);
        }
    }
    syncFolderOf(path);
    return true;
}

bool canWriteFileSafely(const QString &fileName, QString *error)
{
    QByteArray path;
    mode_t mode = 0;
    if (!target(fileName, &path, &mode, error))
        return false;
    QByteArray temporary;
    const int fd = createBeside(path, mode, &temporary);
    if (fd < 0)
        return failWith(errno, error);
    ::close(fd);
    ::unlink(temporary.constData());
    return true;
}

bool readRegularFile(const QString &fileName, qint64 limit, QByteArray *bytes, qint64 *size,
                     QString *error)
{
    // Not blocking, so that a FIFO is seen for what it is before anything waits on it.
    const int fd = ::open(QFile::encodeName(fileName).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return failWith(errno, error);
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int reason = errno;
        ::close(fd);
        return failWith(reason, error);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return notRegular(error);
    }
    QByteArray data(qsizetype(qMin<qint64>(limit, st.st_size)), Qt::Uninitialized);
    qsizetype got = 0;
    // A file that grows meanwhile is read up to the limit still.
    while (got < limit) {
        if (got == data.size())
            data.resize(qsizetype(qMin<qint64>(limit, got + 65536)));
        const ssize_t n = ::read(fd, data.data() + got, size_t(data.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int reason = errno;
            ::close(fd);
            return failWith(reason, error);
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    data.truncate(got);
    *bytes = std::move(data);
    if (size)
        *size = qMax<qint64>(st.st_size, got);
    return true;
}

} // namespace lm740::files
