#pragma once

// OLE Automation: BSTR, VARIANT and SAFEARRAY as the Windows SDK declares
// them. OLECHAR is wchar_t, so a BSTR holds 32-bit characters here. Only
// what a WMI client calls is offered; arrays are one-dimensional BSTR arrays.
#include <winapi/WinTypes.h>

struct IUnknown;

typedef unsigned short VARTYPE;

enum VARENUM {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_BSTR = 8,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0xfff
};

typedef struct tagSAFEARRAYBOUND
{
    ULONG cElements;
    LONG lLbound;
} SAFEARRAYBOUND;

typedef struct tagSAFEARRAY
{
    USHORT cDims;
    USHORT fFeatures;
    ULONG cbElements;
    ULONG cLocks;
    PVOID pvData;
    SAFEARRAYBOUND rgsabound[1];
} SAFEARRAY;

#define FADF_BSTR 0x0100
#define FADF_HAVEVARTYPE 0x0080

typedef struct tagVARIANT
{
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONGLONG llVal;
        ULONGLONG ullVal;
        LONG lVal;
        ULONG ulVal;
        INT intVal;
        UINT uintVal;
        BYTE bVal;
        CHAR cVal;
        SHORT iVal;
        USHORT uiVal;
        FLOAT fltVal;
        DOUBLE dblVal;
        VARIANT_BOOL boolVal;
        BSTR bstrVal;
        IUnknown *punkVal;
        SAFEARRAY *parray;
    };
} VARIANT;
typedef VARIANT VARIANTARG;

WINAPI_EXTERN_C WINAPI_EXPORT BSTR SysAllocString(const OLECHAR *psz);
WINAPI_EXTERN_C WINAPI_EXPORT BSTR SysAllocStringLen(const OLECHAR *strIn, UINT ui);
WINAPI_EXTERN_C WINAPI_EXPORT UINT SysStringLen(BSTR pbstr);
WINAPI_EXTERN_C WINAPI_EXPORT void SysFreeString(BSTR bstrString);

WINAPI_EXTERN_C WINAPI_EXPORT void VariantInit(VARIANTARG *pvarg);
WINAPI_EXTERN_C WINAPI_EXPORT HRESULT VariantClear(VARIANTARG *pvarg);

WINAPI_EXTERN_C WINAPI_EXPORT SAFEARRAY *SafeArrayCreateVector(VARTYPE vt, LONG lLbound,
                                                               ULONG cElements);
WINAPI_EXTERN_C WINAPI_EXPORT HRESULT SafeArrayDestroy(SAFEARRAY *psa);
WINAPI_EXTERN_C WINAPI_EXPORT HRESULT SafeArrayGetLBound(SAFEARRAY *psa, UINT nDim, LONG *plLbound);
WINAPI_EXTERN_C WINAPI_EXPORT HRESULT SafeArrayGetUBound(SAFEARRAY *psa, UINT nDim, LONG *plUbound);
WINAPI_EXTERN_C WINAPI_EXPORT HRESULT SafeArrayGetElement(SAFEARRAY *psa, LONG *rgIndices, void *pv);
