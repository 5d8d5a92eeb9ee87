#pragma once

#include <utility>

// Owns one resource that a COM call handed out (an interface, a BSTR, a
// SAFEARRAY) and frees it once with `Free`. Moved, never copied: get() lends
// it, put() frees what is held and hands out the slot for a call to fill,
// release() gives it up unfreed. Written here because the stand-in offers
// neither _com_ptr_t nor WRL, and std::unique_ptr cannot hand out the T**
// that COM's out-parameters need.
template<class T, class Free>
class ComHandle
{
public:
    ComHandle() = default;
    explicit ComHandle(T *held)
        : p(held)
    { }
    ~ComHandle() { reset(); }
    ComHandle(ComHandle &&other) noexcept
        : p(other.release())
    { }
    ComHandle &operator=(ComHandle &&other) noexcept
    {
        if (this != &other) {
            reset();
            p = other.release();
        }
        return *this;
    }
    ComHandle(const ComHandle &) = delete;
    ComHandle &operator=(const ComHandle &) = delete;

    T *get() const { return p; }
    T *operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }

    T **put()
    {
        reset();
        return &p;
    }

    T *release() { return std::exchange(p, nullptr); }

    void reset()
    {
        if (T *held = release())
            Free()(held);
    }

private:
    T *p = nullptr;
};
