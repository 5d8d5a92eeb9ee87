#pragma once

#include <winapi/WinTypes.h>

// The calling thread's COM apartment: its model and how many
// CoInitializeEx calls are not yet balanced by CoUninitialize.
class Apartment
{
public:
    static HRESULT enter(DWORD model);
    static void leave();
    static long depth();
    static bool isInitialised() { return depth() > 0; }
};
