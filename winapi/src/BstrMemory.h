#pragma once

#include <winapi/OleAuto.h>

#include <cstddef>
#include <string>

// The stand-in's own BSTR allocations: counted like every BSTR, but never
// failed by the seam, which only fails the calls its users make.
class BstrMemory
{
public:
    static BSTR allocate(const OLECHAR *text, std::size_t length);
    static BSTR allocate(const std::wstring &text) { return allocate(text.data(), text.size()); }
    static void release(BSTR text);
    static UINT length(BSTR text);
};
