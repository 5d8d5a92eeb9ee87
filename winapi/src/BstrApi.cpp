#include "BstrMemory.h"
#include "SeamState.h"

#include <cwchar>

namespace {

bool allocationFails() { return SeamState::shouldFail(winapi_seam::Step::SysAllocString, nullptr); }

} // namespace

BSTR SysAllocString(const OLECHAR *psz)
{
    if (!psz)
        return nullptr;
    if (allocationFails())
        return nullptr;
    return BstrMemory::allocate(psz, std::wcslen(psz));
}

BSTR SysAllocStringLen(const OLECHAR *strIn, UINT ui)
{
    if (allocationFails())
        return nullptr;
    return BstrMemory::allocate(strIn, ui);
}

UINT SysStringLen(BSTR pbstr) { return BstrMemory::length(pbstr); }

void SysFreeString(BSTR bstrString) { BstrMemory::release(bstrString); }
