#pragma once

#include "wmi/WmiPlatform.h"

// A VARIANT that starts empty and is cleared when it goes, so whatever a
// read stored in it (a BSTR, a SAFEARRAY) is freed exactly once. The same
// shape as ComHandle: moved, never copied; get(), put(), release().
class ScopedVariant
{
public:
    ScopedVariant();
    ~ScopedVariant();
    ScopedVariant(ScopedVariant &&other) noexcept;
    ScopedVariant &operator=(ScopedVariant &&other) noexcept;
    ScopedVariant(const ScopedVariant &) = delete;
    ScopedVariant &operator=(const ScopedVariant &) = delete;

    const VARIANT *get() const { return &value; }
    VARTYPE type() const { return value.vt; }
    // Clears the old value and hands out the VARIANT for a call to fill.
    VARIANT *put();
    // Gives up the value uncleared (the caller clears it) and is empty again.
    VARIANT release();
    void reset();

private:
    VARIANT value;
};
