#include "WbemLocator.h"

#include "Apartment.h"
#include "SeamState.h"
#include "TextFold.h"
#include "WbemServices.h"

#include <algorithm>
#include <new>

IWbemLocator *WbemLocator::create() { return new (std::nothrow) WbemLocator; }

bool WbemLocator::isLocalServer(const std::wstring &server)
{
    // The names a WMI client here uses for this machine; any other is
    // taken for another machine.
    return server.empty() || server == L"." || TextFold::equal(server, L"localhost");
}

HRESULT WbemLocator::ConnectServer(const BSTR strNetworkResource, const BSTR strUser,
                                   const BSTR strPassword, const BSTR, LONG, const BSTR,
                                   IWbemContext *, IWbemServices **ppNamespace)
{
    SeamState::logConnect(winapi_seam::ConnectCall{strNetworkResource
                                                           ? std::wstring(strNetworkResource)
                                                           : std::wstring(),
                                                   strUser == nullptr, strPassword == nullptr});
    if (!ppNamespace)
        return WBEM_E_INVALID_PARAMETER;
    *ppNamespace = nullptr;
    if (!Apartment::isInitialised())
        return CO_E_NOTINITIALIZED;
    if (HRESULT injected = S_OK; SeamState::shouldFail(winapi_seam::Step::ConnectServer, &injected))
        return injected;
    if (!strNetworkResource)
        return WBEM_E_INVALID_NAMESPACE;

    // "\\server\namespace" or a namespace of the local machine alone; '/'
    // works as '\'.
    std::wstring path(strNetworkResource);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    std::wstring server;
    if (path.compare(0, 2, L"\\\\") == 0) {
        const std::size_t end = std::min(path.find(L'\\', 2), path.size());
        server = path.substr(2, end - 2);
        path.erase(0, end);
    }
    if (!isLocalServer(server))
        return HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
    if (strUser && *strUser)
        return WBEM_E_LOCAL_CREDENTIALS;
    path.erase(0, path.find_first_not_of(L'\\'));
    if (!TextFold::equal(path, L"root\\cimv2"))
        return WBEM_E_INVALID_NAMESPACE;

    *ppNamespace = WbemServices::create();
    return *ppNamespace ? WBEM_S_NO_ERROR : WBEM_E_OUT_OF_MEMORY;
}
