#pragma once

// COM basics: IUnknown, apartments, process security, object creation and
// proxy security, with the Windows SDK's names, values and signatures.
#include <winapi/OleAuto.h>

struct IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppvObject) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

protected:
    // COM objects go away through Release, never through delete.
    ~IUnknown() = default;
};
typedef IUnknown *LPUNKNOWN;

typedef enum tagCOINIT {
    COINIT_APARTMENTTHREADED = 0x2,
    COINIT_MULTITHREADED = 0x0,
} COINIT;

typedef enum tagCLSCTX {
    CLSCTX_INPROC_SERVER = 0x1,
} CLSCTX;

#define RPC_C_AUTHN_DEFAULT 0xFFFFFFFFL
#define RPC_C_AUTHZ_DEFAULT 0xffffffff

#define RPC_C_AUTHN_LEVEL_DEFAULT 0
#define RPC_C_AUTHN_LEVEL_CALL 3
#define RPC_C_AUTHN_LEVEL_PKT_PRIVACY 6

#define RPC_C_IMP_LEVEL_IMPERSONATE 3
#define RPC_C_IMP_LEVEL_DELEGATE 4

typedef enum tagEOLE_AUTHENTICATION_CAPABILITIES {
    EOAC_NONE = 0x0,
} EOLE_AUTHENTICATION_CAPABILITIES;

typedef struct tagSOLE_AUTHENTICATION_SERVICE
{
    DWORD dwAuthnSvc;
    DWORD dwAuthzSvc;
    OLECHAR *pPrincipalName;
    HRESULT hr;
} SOLE_AUTHENTICATION_SERVICE;

WINAPI_EXTERN_C WINAPI_EXPORT const IID IID_IUnknown;

WINAPI_EXTERN_C WINAPI_EXPORT HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
WINAPI_EXTERN_C WINAPI_EXPORT void CoUninitialize(void);
WINAPI_EXTERN_C WINAPI_EXPORT HRESULT CoInitializeSecurity(PSECURITY_DESCRIPTOR pSecDesc,
                                                           LONG cAuthSvc,
                                                           SOLE_AUTHENTICATION_SERVICE *asAuthSvc,
                                                           void *pReserved1, DWORD dwAuthnLevel,
                                                           DWORD dwImpLevel, void *pAuthList,
                                                           DWORD dwCapabilities, void *pReserved3);
WINAPI_EXTERN_C WINAPI_EXPORT HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter,
                                                       DWORD dwClsContext, REFIID riid,
                                                       LPVOID *ppv);
WINAPI_EXTERN_C WINAPI_EXPORT HRESULT CoSetProxyBlanket(IUnknown *pProxy, DWORD dwAuthnSvc,
                                                        DWORD dwAuthzSvc, OLECHAR *pServerPrincName,
                                                        DWORD dwAuthnLevel, DWORD dwImpLevel,
                                                        RPC_AUTH_IDENTITY_HANDLE pAuthInfo,
                                                        DWORD dwCapabilities);
