#pragma once

// The WMI client interfaces that a WQL query client calls, with the Windows
// SDK's signatures. Only the methods a client of this stand-in uses are
// declared; the vtable layout is this library's own.
#include <winapi/ComBase.h>

typedef LONG CIMTYPE;

enum { CIM_STRING = 8, CIM_SINT32 = 3, CIM_BOOLEAN = 11, CIM_FLAG_ARRAY = 0x2000 };

typedef enum tag_WBEM_GENERIC_FLAG_TYPE {
    WBEM_FLAG_RETURN_IMMEDIATELY = 0x10,
    WBEM_FLAG_FORWARD_ONLY = 0x20
} WBEM_GENERIC_FLAG_TYPE;

typedef enum tag_WBEM_CONDITION_FLAG_TYPE {
    WBEM_FLAG_SYSTEM_ONLY = 0x30,
    WBEM_MASK_CONDITION_ORIGIN = 0x70
} WBEM_CONDITION_FLAG_TYPE;

typedef enum tag_WBEM_TIMEOUT_TYPE : unsigned int { WBEM_INFINITE = 0xffffffff } WBEM_TIMEOUT_TYPE;

// The status codes are HRESULTs here (not an unsigned enum as on Windows) so
// that comparing them with an HRESULT needs no cast on either platform.
#define WBEM_S_NO_ERROR ((HRESULT)0)
#define WBEM_S_FALSE ((HRESULT)1)
#define WBEM_S_TIMEDOUT ((HRESULT)0x40004)
#define WBEM_S_NO_MORE_DATA ((HRESULT)0x40005)
#define WBEM_E_FAILED ((HRESULT)0x80041001L)
#define WBEM_E_NOT_FOUND ((HRESULT)0x80041002L)
#define WBEM_E_ACCESS_DENIED ((HRESULT)0x80041003L)
#define WBEM_E_PROVIDER_FAILURE ((HRESULT)0x80041004L)
#define WBEM_E_TYPE_MISMATCH ((HRESULT)0x80041005L)
#define WBEM_E_OUT_OF_MEMORY ((HRESULT)0x80041006L)
#define WBEM_E_INVALID_CONTEXT ((HRESULT)0x80041007L)
#define WBEM_E_INVALID_PARAMETER ((HRESULT)0x80041008L)
#define WBEM_E_NOT_AVAILABLE ((HRESULT)0x80041009L)
#define WBEM_E_CRITICAL_ERROR ((HRESULT)0x8004100AL)
#define WBEM_E_NOT_SUPPORTED ((HRESULT)0x8004100CL)
#define WBEM_E_INVALID_NAMESPACE ((HRESULT)0x8004100EL)
#define WBEM_E_INVALID_OBJECT ((HRESULT)0x8004100FL)
#define WBEM_E_INVALID_CLASS ((HRESULT)0x80041010L)
#define WBEM_E_TRANSPORT_FAILURE ((HRESULT)0x80041015L)
#define WBEM_E_INVALID_OPERATION ((HRESULT)0x80041016L)
#define WBEM_E_INVALID_QUERY ((HRESULT)0x80041017L)
#define WBEM_E_INVALID_QUERY_TYPE ((HRESULT)0x80041018L)
#define WBEM_E_CALL_CANCELLED ((HRESULT)0x80041032L)
#define WBEM_E_SHUTTING_DOWN ((HRESULT)0x80041033L)
#define WBEM_E_INVALID_OBJECT_PATH ((HRESULT)0x8004103AL)
#define WBEM_E_LOCAL_CREDENTIALS ((HRESULT)0x80041064L)

struct IWbemContext;
struct IWbemCallResult;
struct IWbemServices;

WINAPI_EXTERN_C WINAPI_EXPORT const CLSID CLSID_WbemLocator;
WINAPI_EXTERN_C WINAPI_EXPORT const IID IID_IWbemLocator;
WINAPI_EXTERN_C WINAPI_EXPORT const IID IID_IWbemServices;
WINAPI_EXTERN_C WINAPI_EXPORT const IID IID_IEnumWbemClassObject;
WINAPI_EXTERN_C WINAPI_EXPORT const IID IID_IWbemClassObject;

struct IWbemClassObject : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Get(LPCWSTR wszName, LONG lFlags, VARIANT *pVal,
                                          CIMTYPE *pType, LONG *plFlavor) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNames(LPCWSTR wszQualifierName, LONG lFlags,
                                               VARIANT *pQualifierVal, SAFEARRAY **pNames) = 0;

protected:
    ~IWbemClassObject() = default;
};

struct IEnumWbemClassObject : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Next(LONG lTimeout, ULONG uCount,
                                           IWbemClassObject **apObjects, ULONG *puReturned) = 0;

protected:
    ~IEnumWbemClassObject() = default;
};

struct IWbemServices : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE GetObject(const BSTR strObjectPath, LONG lFlags,
                                                IWbemContext *pCtx, IWbemClassObject **ppObject,
                                                IWbemCallResult **ppCallResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExecQuery(const BSTR strQueryLanguage, const BSTR strQuery,
                                                LONG lFlags, IWbemContext *pCtx,
                                                IEnumWbemClassObject **ppEnum) = 0;

protected:
    ~IWbemServices() = default;
};

struct IWbemLocator : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE ConnectServer(const BSTR strNetworkResource,
                                                    const BSTR strUser, const BSTR strPassword,
                                                    const BSTR strLocale, LONG lSecurityFlags,
                                                    const BSTR strAuthority, IWbemContext *pCtx,
                                                    IWbemServices **ppNamespace) = 0;

protected:
    ~IWbemLocator() = default;
};
