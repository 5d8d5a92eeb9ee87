#include "wql/WmiProbe.h"

#include "wmi/BstrText.h"
#include "wmi/ComPtr.h"
#include "wmi/WMIConnection.h"

namespace {

WmiProbe::Result failure(const char *call, HRESULT hr)
{
    WmiProbe::Result result;
    result.failed = true;
    result.call = QLatin1String(call);
    result.hr = hr;
    return result;
}

// Ends this probe's use of COM; declared before any interface pointer so that
// they are all released first.
struct ApartmentUse
{
    ~ApartmentUse() { CoUninitialize(); }
};

} // namespace

WmiProbe::Result WmiProbe::probeConnect() { return run(nullptr); }

WmiProbe::Result WmiProbe::probeQuery(const QString &wql) { return run(&wql); }

WmiProbe::Result WmiProbe::run(const QString *wql)
{
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr))
        return failure("CoInitializeEx", hr);
    const ApartmentUse apartment;

    hr = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                              RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    if (FAILED(hr) && hr != RPC_E_TOO_LATE)
        return failure("CoInitializeSecurity", hr);

    ComPtr<IWbemLocator> locator;
    hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                          reinterpret_cast<void **>(locator.put()));
    if (FAILED(hr))
        return failure("CoCreateInstance", hr);

    const _bstr_t path = toBstr(QStringLiteral("\\\\.") + kLocalNamespace);
    ComPtr<IWbemServices> services;
    hr = locator->ConnectServer(path, nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                services.put());
    if (FAILED(hr))
        return failure("IWbemLocator::ConnectServer", hr);

    hr = CoSetProxyBlanket(services.get(), RPC_C_AUTHN_DEFAULT, RPC_C_AUTHZ_DEFAULT, nullptr,
                           RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    if (FAILED(hr))
        return failure("CoSetProxyBlanket", hr);
    if (!wql)
        return Result();

    ComPtr<IEnumWbemClassObject> enumerator;
    hr = services->ExecQuery(_bstr_t(L"WQL"), toBstr(*wql),
                             WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                             enumerator.put());
    if (FAILED(hr))
        return failure("IWbemServices::ExecQuery", hr);
    for (;;) {
        ComPtr<IWbemClassObject> row;
        ULONG returned = 0;
        hr = enumerator->Next(WBEM_INFINITE, 1, row.put(), &returned);
        if (FAILED(hr))
            return failure("IEnumWbemClassObject::Next", hr);
        if (returned == 0)
            return Result();
    }
}
