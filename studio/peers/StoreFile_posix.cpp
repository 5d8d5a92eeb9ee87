#include "StoreFile.h"

#include <QFile>
#include <QScopeGuard>
#include <QtGlobal>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

StoreFile::Kind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return StoreFile::Kind::Regular;
    if (S_ISLNK(mode))
        return StoreFile::Kind::SymbolicLink;
    if (S_ISDIR(mode))
        return StoreFile::Kind::Folder;
    if (S_ISFIFO(mode))
        return StoreFile::Kind::Fifo;
    if (S_ISSOCK(mode))
        return StoreFile::Kind::Socket;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return StoreFile::Kind::Device;
    return StoreFile::Kind::Other;
}

QString lastError() { return qt_error_string(errno); }

// Reads to the end of the file, but never more than `limit` + 1 bytes, so a
// file that grows while it is read cannot take all memory.
bool readToEnd(int fd, qint64 limit, QByteArray *bytes)
{
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    bytes->clear();
    while (bytes->size() <= limit) {
        const ssize_t got = ::read(fd, chunk.data(), size_t(chunk.size()));
        if (got < 0 && errno != EINTR)
            return false;
        if (got == 0)
            return true;
        bytes->append(chunk.constData(), int(qMax<ssize_t>(got, 0)));
    }
    return true;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    for (qint64 done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno != EINTR)
            return false;
        done += qMax<ssize_t>(n, 0);
    }
    return ::fsync(fd) == 0;
}

// O_EXCL | O_NOFOLLOW never opens what another put at the name (a link,
// say). One with this process's id is a dead process's leftover (ids are
// reused): no other live process writes it, so it goes.
int createNew(const QByteArray &name)
{
    const auto create = [&name] {
        return ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    };
    int fd = create();
    if (fd < 0 && errno == EEXIST && ::unlink(name.constData()) == 0)
        fd = create();
    return fd;
}

// Gives the new file the mode and owner of `like` when that is a regular
// file. An owner this process may not give stays its own; a group it may
// not give gets no access, so the copy is never open to more than the
// original was.
bool copyAccess(int fd, const QString &like)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(like).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return true;
    mode_t mode = info.st_mode & 0777;
    if (::fchown(fd, info.st_uid, info.st_gid) != 0 && ::fchown(fd, uid_t(-1), info.st_gid) != 0)
        mode &= ~mode_t(S_IRWXG);
    return ::fchmod(fd, mode) == 0;
}

} // namespace

bool StoreFile::lookUp()
{
    struct stat info = {};
    m_error.clear();
    if (::lstat(QFile::encodeName(m_path).constData(), &info) != 0) {
        if (errno != ENOENT)
            m_error = lastError();
        return false;
    }
    m_kind = kindOf(info.st_mode);
    return true;
}

// lstat first, then O_NOFOLLOW | O_NONBLOCK and fstat again, in case
// something else took the name in between.
StoreFile::Read StoreFile::read(QByteArray *bytes)
{
    if (!lookUp())
        return m_error.isEmpty() ? Read::Absent : Read::Refused;
    if (m_kind != Kind::Regular)
        return Read::Refused;
    const int fd = ::open(QFile::encodeName(m_path).constData(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_error = lastError();
        return Read::Refused;
    }
    const auto close = qScopeGuard([fd] { ::close(fd); });
    struct stat info = {};
    if (::fstat(fd, &info) != 0) {
        m_error = lastError();
        return Read::Refused;
    }
    m_kind = kindOf(info.st_mode);
    if (m_kind != Kind::Regular)
        return Read::Refused;
    if (info.st_size > kMaxSize)
        return Read::TooLarge;
    if (!readToEnd(fd, kMaxSize, bytes)) {
        m_error = lastError();
        return Read::Refused;
    }
    return bytes->size() > kMaxSize ? Read::TooLarge : Read::Done;
}

// Not QSaveFile: in Qt 5.15 its commit() does not report a failed final
// flush, its buffered writes lose the system's reason, and where the file
// system lacks O_TMPFILE a killed save leaves a randomly named temporary
// that nothing recognises later.
bool StoreFile::replace(const QByteArray &bytes, const QString &like)
{
    const QByteArray temporary = QFile::encodeName(temporaryPath());
    const int fd = createNew(temporary);
    if (fd < 0) {
        m_error = lastError();
        return false;
    }
    auto remove = qScopeGuard([&temporary] { ::unlink(temporary.constData()); });
    bool written = copyAccess(fd, like.isEmpty() ? m_path : like) && writeAll(fd, bytes);
    if (!written)
        m_error = lastError();
    // A file system may report a failed write only when the file closes.
    if (::close(fd) != 0 && written) {
        m_error = lastError();
        written = false;
    }
    if (!written)
        return false;
    if (::rename(temporary.constData(), QFile::encodeName(m_path).constData()) != 0) {
        m_error = lastError();
        return false;
    }
    remove.dismiss();
    return true;
}
