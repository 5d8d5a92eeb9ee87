#include "wmi/WMIConnection.h"

#include "wmi/BstrText.h"
#include "wmi/ComPtr.h"

const QString kLocalNamespace = QStringLiteral("\\root\\cimv2");

namespace {

const QString kLocalHost = QStringLiteral(".");
const QString kPathPrefix = QStringLiteral("\\\\");

bool failed(HRESULT hr, const char *call, WmiFailure *failure)
{
    if (SUCCEEDED(hr))
        return false;
    if (failure) {
        failure->call = QLatin1String(call);
        failure->hr = hr;
    }
    return true;
}

} // namespace

bool WMIConnection::connect() { return connect(kLocalHost, QString(), QString(), kLocalNamespace); }

bool WMIConnection::connect(const QString &host)
{
    return connect(host, QString(), QString(), kLocalNamespace);
}

bool WMIConnection::connect(const QString &host, const QString &user, const QString &password)
{
    return connect(host, user, password, kLocalNamespace);
}

bool WMIConnection::connect(const QString &host, const QString &user, const QString &password,
                            const QString &namespacePath, WmiFailure *failure)
{
    // S_FALSE (already initialised on this thread) counts as success and
    // still needs its CoUninitialize in close().
    if (failed(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), "CoInitializeEx", failure))
        return false;
    if (failure)
        failure->apartmentEntered = true;

    // The host application may have set the process's security already;
    // WMI then runs with what it chose.
    const HRESULT security =
            CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                 RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    if (security != RPC_E_TOO_LATE && failed(security, "CoInitializeSecurity", failure))
        return false;

    QString path = host + namespacePath;
    if (!path.startsWith(kPathPrefix))
        path.prepend(kPathPrefix);

    ComPtr<IWbemLocator> newLocator;
    if (failed(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                reinterpret_cast<void **>(newLocator.put())),
               "CoCreateInstance", failure))
        return false;

    // An empty user means the caller's own credentials: neither user nor
    // password is passed then.
    const bool withCredentials = !user.isEmpty();
    const ScopedBstr pathText = toBstr(path);
    const ScopedBstr userText = withCredentials ? toBstr(user) : ScopedBstr();
    const ScopedBstr passwordText = withCredentials ? toBstr(password) : ScopedBstr();
    ComPtr<IWbemServices> newServices;
    if (failed(newLocator->ConnectServer(pathText.get(), userText.get(), passwordText.get(),
                                         nullptr, 0, nullptr, nullptr, newServices.put()),
               "IWbemLocator::ConnectServer", failure))
        return false;

    if (failed(CoSetProxyBlanket(newServices.get(), RPC_C_AUTHN_DEFAULT, RPC_C_AUTHZ_DEFAULT,
                                 nullptr, RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE,
                                 nullptr, EOAC_NONE),
               "CoSetProxyBlanket", failure))
        return false;

    locator = newLocator.release();
    services = newServices.release();
    return true;
}

QVector<WMIObject> WMIConnection::query(const QString &wql, WmiFailure *failure)
{
    QVector<WMIObject> rows;
    if (!services)
        return rows;
    const ScopedBstr language = toBstr(QStringLiteral("WQL"));
    const ScopedBstr text = toBstr(wql);
    ComPtr<IEnumWbemClassObject> enumerator;
    if (failed(services->ExecQuery(language.get(), text.get(),
                                   WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                   enumerator.put()),
               "IWbemServices::ExecQuery", failure))
        return rows;
    for (;;) {
        IWbemClassObject *object = nullptr;
        ULONG returned = 0;
        const HRESULT hr = enumerator->Next(WBEM_INFINITE, 1, &object, &returned);
        // Owned from here on, so an object handed out with a failure is
        // released too.
        WMIObject row(object);
        if (failed(hr, "IEnumWbemClassObject::Next", failure) || returned == 0 || !row)
            break;
        rows.append(row);
    }
    return rows;
}

WMIObject WMIConnection::getObject(const QString &path)
{
    if (!services)
        return WMIObject();
    const ScopedBstr objectPath = toBstr(path);
    IWbemClassObject *object = nullptr;
    const HRESULT hr = services->GetObject(objectPath.get(), 0, nullptr, &object, nullptr);
    WMIObject result(object);
    if (FAILED(hr))
        return WMIObject();
    return result;
}

bool WMIConnection::isConnected() const { return locator && services; }

void WMIConnection::close()
{
    if (!services)
        return;
    services->Release();
    services = nullptr;
    locator->Release();
    locator = nullptr;
    CoUninitialize();
}
