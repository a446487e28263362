#include "safe_file.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace lm740::files {

namespace {

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
    return true;
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// A new file beside `path`, hidden and named so that no two writers meet, made with the user's
// umask (or the replaced file's permissions); -1 with errno set when the folder takes none.
int createBeside(const QByteArray &path, mode_t mode, QByteArray *temporary)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : path.left(slash + 1);
    const QByteArray name = path.mid(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temporary = folder + '.' + name + '.' +
                     QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".part";
        const int fd = ::open(temporary->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                              mode ? mode : 0666);
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

// A file written whole beside its target, not yet in its place.
struct Staged
{
    QByteArray temporary;
    QByteArray path;
};

bool stage(const QString &fileName, const QByteArray &bytes, Staged *staged, QString *error)
{
    mode_t mode = 0;
    if (!target(fileName, &staged->path, &mode, error))
        return false;
    const int fd = createBeside(staged->path, mode, &staged->temporary);
    if (fd < 0)
        return failWith(errno, error);
    // The umask does not narrow the permissions of the file being replaced.
    if (mode)
        ::fchmod(fd, mode);
    bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    int reason = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        reason = errno;
    }
    if (!written) {
        ::unlink(staged->temporary.constData());
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

bool writeFileSafely(const QString &fileName, const QByteArray &bytes, QString *error)
{
    return writeFilesSafely({{fileName, bytes}}, nullptr, error);
}

bool writeFilesSafely(const QList<FileContent> &files, QString *failed, QString *error)
{
    std::vector<Staged> staged(std::size_t(files.size()));
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (!stage(files[i].name, files[i].bytes, &staged[std::size_t(i)], error)) {
            for (qsizetype j = 0; j < i; ++j)
                ::unlink(staged[std::size_t(j)].temporary.constData());
            if (failed)
                *failed = files[i].name;
            return false;
        }
    }
    // Every new file is complete: only renames are left, which take no room on the disk.
    for (std::size_t i = 0; i < staged.size(); ++i) {
        if (::rename(staged[i].temporary.constData(), staged[i].path.constData()) != 0) {
            const int reason = errno;
            for (std::size_t j = i; j < staged.size(); ++j)
                ::unlink(staged[j].temporary.constData());
            if (failed)
                *failed = files[qsizetype(i)].name;
            return failWith(reason, error);
        }
        syncFolderOf(staged[i].path);
    }
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
