#pragma once

#include <QString>

#include <chrono>
#include <memory>

// The lock that serialises the saves of one store across processes, held
// from a successful tryLock() until the object goes. StoreLock_posix.cpp
// and StoreLock_win.cpp implement it; the build picks one. It is the
// kernel's lock on the lock file, which ends when its holder closes the
// file or dies: no stale lock to guess at or take over. The file itself
// stays (empty): deleting it could let a waiter lock a file already gone
// while a third process locks a new one.
class StoreLock
{
public:
    enum class Result { Locked, Held, Failed, NotRegular };

    explicit StoreLock(const QString &lockFilePath);
    ~StoreLock();
    StoreLock(const StoreLock &) = delete;
    StoreLock &operator=(const StoreLock &) = delete;

    // Held: another holder kept it for all of `wait`. Failed: the lock
    // file cannot be made or locked; `why` gets the system's reason.
    // NotRegular: something else than a regular file took its name.
    Result tryLock(std::chrono::milliseconds wait, QString *why);

private:
    class Handle; // the platform's lock
    std::unique_ptr<Handle> m_handle;
};
