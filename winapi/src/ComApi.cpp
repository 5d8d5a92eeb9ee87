#include "Apartment.h"
#include "SeamState.h"
#include "WbemLocator.h"

#include <winapi/WbemCli.h>

using winapi_seam::Step;

HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit)
{
    if (pvReserved)
        return E_INVALIDARG;
    if (HRESULT injected = S_OK; SeamState::shouldFail(Step::CoInitializeEx, &injected))
        return injected;
    return Apartment::enter(dwCoInit & COINIT_APARTMENTTHREADED);
}

void CoUninitialize(void) { Apartment::leave(); }

HRESULT CoInitializeSecurity(PSECURITY_DESCRIPTOR, LONG cAuthSvc,
                             SOLE_AUTHENTICATION_SERVICE *asAuthSvc, void *pReserved1,
                             DWORD dwAuthnLevel, DWORD dwImpLevel, void *, DWORD, void *pReserved3)
{
    if (!Apartment::isInitialised())
        return CO_E_NOTINITIALIZED;
    if (HRESULT injected = S_OK; SeamState::shouldFail(Step::CoInitializeSecurity, &injected))
        return injected;
    if (pReserved1 || pReserved3 || cAuthSvc < -1 || (cAuthSvc > 0 && !asAuthSvc) ||
        dwAuthnLevel > RPC_C_AUTHN_LEVEL_PKT_PRIVACY || dwImpLevel > RPC_C_IMP_LEVEL_DELEGATE)
        return E_INVALIDARG;
    return SeamState::claimSecurity() ? S_OK : RPC_E_TOO_LATE;
}

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                         LPVOID *ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!Apartment::isInitialised())
        return CO_E_NOTINITIALIZED;
    if (HRESULT injected = S_OK; SeamState::shouldFail(Step::CoCreateInstance, &injected))
        return injected;
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    if (rclsid != CLSID_WbemLocator || !(dwClsContext & CLSCTX_INPROC_SERVER))
        return REGDB_E_CLASSNOTREG;
    IWbemLocator *locator = WbemLocator::create();
    if (!locator)
        return E_OUTOFMEMORY;
    const HRESULT hr = locator->QueryInterface(riid, ppv);
    locator->Release();
    return hr;
}

HRESULT CoSetProxyBlanket(IUnknown *pProxy, DWORD, DWORD, OLECHAR *, DWORD dwAuthnLevel,
                          DWORD dwImpLevel, RPC_AUTH_IDENTITY_HANDLE, DWORD)
{
    if (!pProxy)
        return E_INVALIDARG;
    if (!Apartment::isInitialised())
        return CO_E_NOTINITIALIZED;
    if (HRESULT injected = S_OK; SeamState::shouldFail(Step::CoSetProxyBlanket, &injected))
        return injected;
    if (dwAuthnLevel > RPC_C_AUTHN_LEVEL_PKT_PRIVACY || dwImpLevel > RPC_C_IMP_LEVEL_DELEGATE)
        return E_INVALIDARG;
    return S_OK;
}
