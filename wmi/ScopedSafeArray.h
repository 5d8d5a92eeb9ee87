#pragma once

#include "wmi/ComHandle.h"
#include "wmi/WmiPlatform.h"

struct SafeArrayFree
{
    void operator()(SAFEARRAY *array) const { SafeArrayDestroy(array); }
};

// Owns a SAFEARRAY that a call handed out and destroys it once.
using ScopedSafeArray = ComHandle<SAFEARRAY, SafeArrayFree>;

// The index range of a one-dimensional array; false for a null array or one
// whose bounds cannot be read.
inline bool safeArrayBounds(SAFEARRAY *array, LONG *lower, LONG *upper)
{
    return array && SUCCEEDED(SafeArrayGetLBound(array, 1, lower)) &&
            SUCCEEDED(SafeArrayGetUBound(array, 1, upper));
}
