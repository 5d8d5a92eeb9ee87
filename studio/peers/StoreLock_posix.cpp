#include "StoreLock.h"

#include <QLockFile>
#include <QtGlobal>

#include <cerrno>

class StoreLock::Handle : public QLockFile
{
public:
    using QLockFile::QLockFile;
};

StoreLock::StoreLock(const QString &lockFilePath)
    : m_handle(std::make_unique<Handle>(lockFilePath))
{ }

StoreLock::~StoreLock() = default;

StoreLock::Result StoreLock::tryLock(std::chrono::milliseconds wait, QString *why)
{
    errno = 0;
    if (m_handle->tryLock(int(wait.count())))
        return Result::Locked;
    if (m_handle->error() == QLockFile::LockFailedError)
        return Result::Held;
    // QLockFile says only that it could not make the file; the call that
    // failed left the system's reason (a full disk, say) in errno.
    *why = qt_error_string(errno);
    return Result::Failed;
}
