#pragma once

#include "wmi/WmiPlatform.h"

// A VARIANT that starts empty and is cleared when it goes, so whatever a
// read stored in it (a BSTR, a SAFEARRAY) is freed exactly once.
class ScopedVariant
{
public:
    ScopedVariant();
    ~ScopedVariant();
    ScopedVariant(const ScopedVariant &) = delete;
    ScopedVariant &operator=(const ScopedVariant &) = delete;

    VARIANT *ptr() { return &value; }
    const VARIANT &get() const { return value; }
    VARTYPE type() const { return value.vt; }

    // Clears the old value and leaves the VARIANT empty again.
    void clear();

private:
    VARIANT value;
};
