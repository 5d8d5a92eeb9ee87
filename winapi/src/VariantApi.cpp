#include "BstrMemory.h"

#include <winapi/ComBase.h>

void VariantInit(VARIANTARG *pvarg)
{
    if (!pvarg)
        return;
    *pvarg = VARIANTARG{};
    pvarg->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANTARG *pvarg)
{
    if (!pvarg)
        return E_INVALIDARG;
    if (pvarg->vt & VT_BYREF) {
        // A reference owns nothing.
    } else if (pvarg->vt & VT_ARRAY) {
        const HRESULT hr = SafeArrayDestroy(pvarg->parray);
        if (FAILED(hr))
            return hr;
    } else if (pvarg->vt == VT_BSTR) {
        BstrMemory::release(pvarg->bstrVal);
    } else if (pvarg->vt == VT_UNKNOWN) {
        if (pvarg->punkVal)
            pvarg->punkVal->Release();
    }
    VariantInit(pvarg);
    return S_OK;
}
