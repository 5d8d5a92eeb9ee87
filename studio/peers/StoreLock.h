#pragma once

#include <QString>

#include <chrono>
#include <memory>

// The lock that serialises the saves of one store across processes, held
// from a successful tryLock() until the object goes. StoreLock_posix.cpp
// and StoreLock_win.cpp implement it; the build picks one. A lock whose
// holder died is taken over.
class StoreLock
{
public:
    enum class Result { Locked, Held, Failed };

    explicit StoreLock(const QString &lockFilePath);
    ~StoreLock();
    StoreLock(const StoreLock &) = delete;
    StoreLock &operator=(const StoreLock &) = delete;

    // Held: another holder kept it for all of `wait`. Failed: the lock
    // file cannot be made; `why` gets the system's reason.
    Result tryLock(std::chrono::milliseconds wait, QString *why);

private:
    class Handle; // the platform's lock
    std::unique_ptr<Handle> m_handle;
};
