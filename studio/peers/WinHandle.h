#pragma once

#include <windows.h>

#include <memory>

// A Win32 handle that closes itself, so no error path closes it by hand.
// Null when CreateFileW failed (it returns INVALID_HANDLE_VALUE, not null).
class WinHandle
{
public:
    explicit WinHandle(HANDLE handle = INVALID_HANDLE_VALUE)
        : m_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle)
    { }

    HANDLE get() const { return m_handle.get(); }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    struct Closer
    {
        void operator()(HANDLE handle) const { CloseHandle(handle); }
    };
    std::unique_ptr<void, Closer> m_handle;
};
