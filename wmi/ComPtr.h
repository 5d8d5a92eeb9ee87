#pragma once

#include "wmi/WmiPlatform.h"

// Owns one COM reference and releases it once. Written here because the
// stand-in offers neither _com_ptr_t nor WRL, and std::unique_ptr cannot hand
// out the T** that COM's out-parameters need.
template<class T>
class ComPtr
{
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr &) = delete;
    ComPtr &operator=(const ComPtr &) = delete;

    T *get() const { return p; }
    T *operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }

    // Drops what is held and hands out the slot for a call to fill.
    T **put()
    {
        reset();
        return &p;
    }

    // Gives up ownership without releasing.
    T *release()
    {
        T *held = p;
        p = nullptr;
        return held;
    }

    void reset()
    {
        if (p) {
            T *held = p;
            p = nullptr;
            held->Release();
        }
    }

private:
    T *p = nullptr;
};
