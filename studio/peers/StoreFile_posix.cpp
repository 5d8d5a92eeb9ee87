#include "StoreFile.h"

#include <QFile>
#include <QSaveFile>
#include <QtGlobal>

#include <algorithm>
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

} // namespace

StoreFile::StoreFile(const QString &path)
    : m_path(path)
{ }

// lstat first, then O_NOFOLLOW | O_NONBLOCK and fstat again, in case
// something else took the name in between.
StoreFile::Read StoreFile::read(QByteArray *bytes)
{
    const QByteArray name = QFile::encodeName(m_path);
    struct stat info = {};
    if (::lstat(name.constData(), &info) != 0) {
        const int error = errno;
        m_error = qt_error_string(error);
        return error == ENOENT ? Read::Absent : Read::Refused;
    }
    m_kind = kindOf(info.st_mode);
    if (m_kind != Kind::Regular)
        return Read::Refused;
    QFile file;
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        m_error = qt_error_string(errno);
        return Read::Refused;
    }
    if (::fstat(fd, &info) != 0) {
        m_error = qt_error_string(errno);
        return Read::Refused;
    }
    m_kind = kindOf(info.st_mode);
    if (m_kind != Kind::Regular)
        return Read::Refused;
    *bytes = file.readAll();
    if (file.error() == QFileDevice::NoError)
        return Read::Done;
    m_error = file.errorString();
    return Read::Refused;
}

// QSaveFile::commit() in Qt 5.15 does not report a failed final flush, and
// its buffered writes lose the system's reason; so the bytes go through the
// handle, every call checked, then fsync, and only then does commit()
// rename (and remove the temporary when that fails).
bool StoreFile::replace(const QByteArray &bytes)
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    for (qint64 done = 0; done < bytes.size();) {
        const ssize_t n =
                ::write(file.handle(), bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno != EINTR) {
            m_error = qt_error_string(errno);
            return false;
        }
        done += std::max<ssize_t>(n, 0);
    }
    if (::fsync(file.handle()) != 0) {
        m_error = qt_error_string(errno);
        return false;
    }
    if (file.commit())
        return true;
    m_error = file.errorString();
    return false;
}
