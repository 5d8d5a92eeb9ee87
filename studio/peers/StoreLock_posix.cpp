#include "StoreLock.h"

#include <QFile>
#include <QtGlobal>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// flock(), not QLockFile: QLockFile opens the lock file through links and
// without O_NONBLOCK (a link to /dev/zero is read for ever, a FIFO blocks)
// and guesses from the PID inside whether a holder died, which fails for
// another user's lock. flock() on a file opened with O_NOFOLLOW |
// O_NONBLOCK ends with its holder and needs no write access, so a lock
// file another user left (root's, say) serves as well once nobody holds
// it. Not OFD locks (fcntl): an exclusive one needs the file open for
// writing.
class StoreLock::Handle
{
public:
    explicit Handle(const QString &path)
        : path(QFile::encodeName(path))
    { }
    ~Handle()
    {
        if (fd >= 0)
            ::close(fd); // releases the lock
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;

    int open()
    {
        const int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
        fd = ::open(path.constData(), O_RDWR | O_CREAT | flags, 0666);
        if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
            fd = ::open(path.constData(), O_RDONLY | flags);
        return fd;
    }

    QByteArray path;
    int fd = -1;
};

StoreLock::StoreLock(const QString &lockFilePath)
    : m_handle(std::make_unique<Handle>(lockFilePath))
{ }

StoreLock::~StoreLock() = default;

StoreLock::Result StoreLock::tryLock(std::chrono::milliseconds wait, QString *why)
{
    struct stat info = {};
    if (m_handle->open() < 0 || ::fstat(m_handle->fd, &info) != 0) {
        *why = qt_error_string(errno);
        return Result::Failed;
    }
    if (!S_ISREG(info.st_mode))
        return Result::NotRegular;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(m_handle->fd, LOCK_EX | LOCK_NB) == 0)
            return Result::Locked;
        if (errno != EWOULDBLOCK && errno != EINTR) {
            *why = qt_error_string(errno);
            return Result::Failed;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return Result::Held;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}
