#include "BstrMemory.h"
#include "LiveCounts.h"

#include <winapi/ComBase.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

// One-dimensional arrays only: SafeArrayCreateVector is the only way to make
// one here. The element type lives in front of the descriptor, as on Windows.
namespace {

struct ArrayBlock
{
    VARTYPE vt;
    SAFEARRAY array;
};

ArrayBlock *blockOf(SAFEARRAY *psa)
{
    return reinterpret_cast<ArrayBlock *>(reinterpret_cast<char *>(psa) -
                                          offsetof(ArrayBlock, array));
}

ULONG elementSize(VARTYPE vt)
{
    switch (vt) {
    case VT_I1:
    case VT_UI1:
        return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
        return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
        return 4;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
        return 8;
    case VT_BSTR:
    case VT_UNKNOWN:
        return sizeof(void *);
    case VT_VARIANT:
        return sizeof(VARIANT);
    default:
        return 0;
    }
}

// The element's address, or null when the index is outside the bounds.
void *elementAt(SAFEARRAY *psa, LONG index)
{
    const SAFEARRAYBOUND &bound = psa->rgsabound[0];
    const long long offset = static_cast<long long>(index) - bound.lLbound;
    if (offset < 0 || offset >= static_cast<long long>(bound.cElements))
        return nullptr;
    return static_cast<char *>(psa->pvData) + offset * psa->cbElements;
}

void clearElement(VARTYPE vt, void *element)
{
    if (vt == VT_BSTR) {
        BstrMemory::release(*static_cast<BSTR *>(element));
        *static_cast<BSTR *>(element) = nullptr;
    } else if (vt == VT_VARIANT) {
        VariantClear(static_cast<VARIANT *>(element));
    } else if (vt == VT_UNKNOWN) {
        IUnknown *unknown = *static_cast<IUnknown **>(element);
        if (unknown)
            unknown->Release();
        *static_cast<IUnknown **>(element) = nullptr;
    }
}

} // namespace

SAFEARRAY *SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements)
{
    const ULONG size = elementSize(vt);
    if (size == 0)
        return nullptr;
    auto *block = new (std::nothrow) ArrayBlock;
    if (!block)
        return nullptr;
    void *data = std::calloc(cElements ? cElements : 1, size);
    if (!data) {
        delete block;
        return nullptr;
    }
    block->vt = vt;
    SAFEARRAY &array = block->array;
    array.cDims = 1;
    array.fFeatures = FADF_HAVEVARTYPE | (vt == VT_BSTR ? FADF_BSTR : 0) |
            (vt == VT_VARIANT ? FADF_VARIANT : 0);
    array.cbElements = size;
    array.cLocks = 0;
    array.pvData = data;
    array.rgsabound[0].cElements = cElements;
    array.rgsabound[0].lLbound = lLbound;
    if (vt == VT_VARIANT) {
        for (ULONG i = 0; i < cElements; ++i)
            VariantInit(static_cast<VARIANT *>(data) + i);
    }
    ++LiveCounts::safeArrays;
    return &block->array;
}

HRESULT SafeArrayDestroy(SAFEARRAY *psa)
{
    if (!psa)
        return S_OK;
    if (psa->cLocks > 0)
        return DISP_E_ARRAYISLOCKED;
    ArrayBlock *block = blockOf(psa);
    for (ULONG i = 0; i < psa->rgsabound[0].cElements; ++i)
        clearElement(block->vt, static_cast<char *>(psa->pvData) + std::size_t(i) * psa->cbElements);
    std::free(psa->pvData);
    delete block;
    --LiveCounts::safeArrays;
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY *psa) { return psa ? psa->cDims : 0; }

HRESULT SafeArrayGetVartype(SAFEARRAY *psa, VARTYPE *pvt)
{
    if (!psa || !pvt)
        return E_INVALIDARG;
    *pvt = blockOf(psa)->vt;
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
    if (!psa || !plUbound)
        return E_INVALIDARG;
    if (nDim != 1)
        return DISP_E_BADINDEX;
    *plUbound = static_cast<LONG>(static_cast<long long>(psa->rgsabound[0].lLbound) +
                                  psa->rgsabound[0].cElements - 1);
    return S_OK;
}

HRESULT SafeArrayGetElement(SAFEARRAY *psa, LONG *rgIndices, void *pv)
{
    if (!psa || !rgIndices || !pv)
        return E_INVALIDARG;
    void *element = elementAt(psa, rgIndices[0]);
    if (!element)
        return DISP_E_BADINDEX;
    const VARTYPE vt = blockOf(psa)->vt;
    if (vt == VT_BSTR) {
        const BSTR source = *static_cast<BSTR *>(element);
        BSTR copy = nullptr;
        if (source) {
            copy = BstrMemory::allocate(source, BstrMemory::length(source));
            if (!copy)
                return E_OUTOFMEMORY;
        }
        *static_cast<BSTR *>(pv) = copy;
        return S_OK;
    }
    if (vt == VT_VARIANT) {
        VariantInit(static_cast<VARIANT *>(pv));
        return VariantCopy(static_cast<VARIANT *>(pv), static_cast<VARIANT *>(element));
    }
    if (vt == VT_UNKNOWN) {
        IUnknown *unknown = *static_cast<IUnknown **>(element);
        if (unknown)
            unknown->AddRef();
        *static_cast<IUnknown **>(pv) = unknown;
        return S_OK;
    }
    std::memcpy(pv, element, psa->cbElements);
    return S_OK;
}

HRESULT SafeArrayPutElement(SAFEARRAY *psa, LONG *rgIndices, void *pv)
{
    if (!psa || !rgIndices)
        return E_INVALIDARG;
    if (psa->cLocks > 0)
        return DISP_E_ARRAYISLOCKED;
    void *element = elementAt(psa, rgIndices[0]);
    if (!element)
        return DISP_E_BADINDEX;
    const VARTYPE vt = blockOf(psa)->vt;
    if (vt == VT_BSTR) {
        // As on Windows, a BSTR element is passed as the BSTR itself.
        const auto source = static_cast<BSTR>(pv);
        BSTR copy = nullptr;
        if (source) {
            copy = BstrMemory::allocate(source, BstrMemory::length(source));
            if (!copy)
                return E_OUTOFMEMORY;
        }
        clearElement(vt, element);
        *static_cast<BSTR *>(element) = copy;
        return S_OK;
    }
    if (!pv)
        return E_INVALIDARG;
    if (vt == VT_VARIANT) {
        VARIANT copy;
        VariantInit(&copy);
        const HRESULT hr = VariantCopy(&copy, static_cast<VARIANT *>(pv));
        if (FAILED(hr))
            return hr;
        clearElement(vt, element);
        std::memcpy(element, &copy, sizeof(VARIANT));
        return S_OK;
    }
    if (vt == VT_UNKNOWN) {
        auto *unknown = static_cast<IUnknown *>(pv);
        unknown->AddRef();
        clearElement(vt, element);
        *static_cast<IUnknown **>(element) = unknown;
        return S_OK;
    }
    std::memcpy(element, pv, psa->cbElements);
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY *psa, void **ppvData)
{
    if (!psa || !ppvData)
        return E_INVALIDARG;
    ++psa->cLocks;
    *ppvData = psa->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY *psa)
{
    if (!psa)
        return E_INVALIDARG;
    if (psa->cLocks == 0)
        return E_UNEXPECTED;
    --psa->cLocks;
    return S_OK;
}
