#include "BstrMemory.h"
#include "LiveCounts.h"

#include <winapi/ComBase.h>

#include <cstdlib>
#include <new>

// One-dimensional arrays of BSTRs: all that WMI hands out here (string
// array properties and GetNames).
SAFEARRAY *SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements)
{
    if (vt != VT_BSTR)
        return nullptr;
    auto *array = new (std::nothrow) SAFEARRAY{};
    void *data = array ? std::calloc(cElements ? cElements : 1, sizeof(BSTR)) : nullptr;
    if (!data) {
        delete array;
        return nullptr;
    }
    array->cDims = 1;
    array->fFeatures = FADF_HAVEVARTYPE | FADF_BSTR;
    array->cbElements = sizeof(BSTR);
    array->pvData = data;
    array->rgsabound[0].cElements = cElements;
    array->rgsabound[0].lLbound = lLbound;
    ++LiveCounts::safeArrays;
    return array;
}

HRESULT SafeArrayDestroy(SAFEARRAY *psa)
{
    if (!psa)
        return S_OK;
    if (psa->cLocks > 0)
        return DISP_E_ARRAYISLOCKED;
    for (ULONG i = 0; i < psa->rgsabound[0].cElements; ++i)
        BstrMemory::release(static_cast<BSTR *>(psa->pvData)[i]);
    std::free(psa->pvData);
    delete psa;
    --LiveCounts::safeArrays;
    return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY *psa, UINT nDim, LONG *plLbound)
{
    if (!psa || !plLbound)
        return E_INVALIDARG;
    if (nDim != 1)
        return DISP_E_BADINDEX;
    *plLbound = psa->rgsabound[0].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY *psa, UINT nDim, LONG *plUbound)
{
    LONG lower = 0;
    const HRESULT hr = SafeArrayGetLBound(psa, nDim, &lower);
    if (SUCCEEDED(hr) && plUbound)
        *plUbound = LONG(lower + (long long)psa->rgsabound[0].cElements - 1);
    return plUbound ? hr : E_INVALIDARG;
}

HRESULT SafeArrayGetElement(SAFEARRAY *psa, LONG *rgIndices, void *pv)
{
    if (!psa || !rgIndices || !pv)
        return E_INVALIDARG;
    const SAFEARRAYBOUND &bound = psa->rgsabound[0];
    const long long offset = static_cast<long long>(rgIndices[0]) - bound.lLbound;
    if (offset < 0 || offset >= static_cast<long long>(bound.cElements))
        return DISP_E_BADINDEX;
    // The caller gets its own copy to free, as on Windows.
    const BSTR element = static_cast<BSTR *>(psa->pvData)[offset];
    BSTR copy = nullptr;
    if (element && !(copy = BstrMemory::allocate(element, BstrMemory::length(element))))
        return E_OUTOFMEMORY;
    *static_cast<BSTR *>(pv) = copy;
    return S_OK;
}
