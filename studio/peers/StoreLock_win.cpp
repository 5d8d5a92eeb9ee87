#include "StoreLock.h"

#include "WinHandle.h"

#include <QDir>
#include <QtGlobal>

#include <string>
#include <thread>

// LockFileEx on the lock file.
class StoreLock::Handle
{
public:
    explicit Handle(const QString &path)
        : path(QDir::toNativeSeparators(path).toStdWString())
    { }

    std::wstring path;
    WinHandle file; // set while the lock is held
};

StoreLock::StoreLock(const QString &lockFilePath)
    : m_handle(std::make_unique<Handle>(lockFilePath))
{ }

StoreLock::~StoreLock() = default;

StoreLock::Result StoreLock::tryLock(std::chrono::milliseconds wait, QString *why)
{
    WinHandle file(CreateFileW(m_handle->path.c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        *why = qt_error_string(int(GetLastError()));
        return Result::Failed;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        OVERLAPPED start = {};
        if (LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                       &start)) {
            m_handle->file = std::move(file);
            return Result::Locked;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION) {
            *why = qt_error_string(int(error));
            return Result::Failed;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return Result::Held;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}
