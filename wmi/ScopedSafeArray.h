#pragma once

#include "wmi/WmiPlatform.h"

// Owns a SAFEARRAY that a call handed out and destroys it once.
class ScopedSafeArray
{
public:
    ScopedSafeArray() = default;
    ~ScopedSafeArray();
    ScopedSafeArray(const ScopedSafeArray &) = delete;
    ScopedSafeArray &operator=(const ScopedSafeArray &) = delete;

    SAFEARRAY *get() const { return array; }
    // Destroys what is held and hands out the slot for a call to fill.
    SAFEARRAY **put();

private:
    SAFEARRAY *array = nullptr;
};
