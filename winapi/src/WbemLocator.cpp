#include "WbemLocator.h"

#include "Apartment.h"
#include "SeamState.h"
#include "TextFold.h"
#include "WbemServices.h"

#include <new>

namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

} // namespace

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

    // "\\server\namespace" or a namespace of the local machine alone.
    std::wstring path(strNetworkResource);
    std::wstring server;
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        std::size_t end = 2;
        while (end < path.size() && !isSeparator(path[end]))
            ++end;
        server = path.substr(2, end - 2);
        path = path.substr(end);
    }
    if (!isLocalServer(server))
        return HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
    if (strUser && *strUser)
        return WBEM_E_LOCAL_CREDENTIALS;

    std::size_t start = 0;
    while (start < path.size() && isSeparator(path[start]))
        ++start;
    std::wstring name = path.substr(start);
    for (wchar_t &c : name) {
        if (c == L'/')
            c = L'\\';
    }
    if (!TextFold::equal(name, L"root\\cimv2"))
        return WBEM_E_INVALID_NAMESPACE;

    *ppNamespace = WbemServices::create();
    return *ppNamespace ? WBEM_S_NO_ERROR : WBEM_E_OUT_OF_MEMORY;
}
