#pragma once

#include "wmi/ComHandle.h"
#include "wmi/WmiPlatform.h"

struct SafeArrayFree
{
    void operator()(SAFEARRAY *array) const { SafeArrayDestroy(array); }
};

// Owns a SAFEARRAY that a call handed out and destroys it once.
using ScopedSafeArray = ComHandle<SAFEARRAY, SafeArrayFree>;
