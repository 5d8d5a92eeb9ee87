#include "BstrMemory.h"

#include <winapi/ComBase.h>

#include <cstring>

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

HRESULT VariantCopy(VARIANTARG *pvargDest, const VARIANTARG *pvargSrc)
{
    if (!pvargDest || !pvargSrc)
        return E_INVALIDARG;
    if (pvargDest == pvargSrc)
        return S_OK;
    VARIANT copy;
    VariantInit(&copy);
    copy.vt = pvargSrc->vt;
    if ((pvargSrc->vt & VT_ARRAY) && !(pvargSrc->vt & VT_BYREF)) {
        SAFEARRAY *source = pvargSrc->parray;
        if (source) {
            VARTYPE elementType = VT_EMPTY;
            SafeArrayGetVartype(source, &elementType);
            const SAFEARRAYBOUND bound = source->rgsabound[0];
            SAFEARRAY *target = SafeArrayCreateVector(elementType, bound.lLbound, bound.cElements);
            if (!target)
                return E_OUTOFMEMORY;
            for (ULONG i = 0; i < bound.cElements; ++i) {
                LONG index = static_cast<LONG>(bound.lLbound + static_cast<LONG>(i));
                HRESULT hr = S_OK;
                if (elementType == VT_BSTR) {
                    BSTR element = static_cast<BSTR *>(source->pvData)[i];
                    hr = SafeArrayPutElement(target, &index, element);
                } else {
                    hr = SafeArrayPutElement(target, &index,
                                             static_cast<char *>(source->pvData) +
                                                     std::size_t(i) * source->cbElements);
                }
                if (FAILED(hr)) {
                    SafeArrayDestroy(target);
                    return hr;
                }
            }
            copy.parray = target;
        }
    } else if (pvargSrc->vt == VT_BSTR) {
        if (pvargSrc->bstrVal) {
            copy.bstrVal =
                    BstrMemory::allocate(pvargSrc->bstrVal, BstrMemory::length(pvargSrc->bstrVal));
            if (!copy.bstrVal)
                return E_OUTOFMEMORY;
        }
    } else if (pvargSrc->vt == VT_UNKNOWN) {
        copy.punkVal = pvargSrc->punkVal;
        if (copy.punkVal)
            copy.punkVal->AddRef();
    } else {
        std::memcpy(&copy, pvargSrc, sizeof(VARIANT));
    }
    const HRESULT cleared = VariantClear(pvargDest);
    if (FAILED(cleared)) {
        VariantClear(&copy);
        return cleared;
    }
    std::memcpy(pvargDest, &copy, sizeof(VARIANT));
    return S_OK;
}
