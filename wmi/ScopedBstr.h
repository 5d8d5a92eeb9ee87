#pragma once

#include "wmi/ComHandle.h"
#include "wmi/WmiPlatform.h"

struct BstrFree
{
    void operator()(OLECHAR *text) const { SysFreeString(text); }
};

// Owns a BSTR, made for a call or handed out by one, and frees it once.
using ScopedBstr = ComHandle<OLECHAR, BstrFree>;
