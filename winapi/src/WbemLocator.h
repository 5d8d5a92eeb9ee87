#pragma once

#include "ComObject.h"

#include <winapi/WbemCli.h>

#include <string>

// The WMI locator: connects to root\cimv2 of this machine.
class WbemLocator final : public ComObject<IWbemLocator>
{
public:
    static IWbemLocator *create();

    HRESULT STDMETHODCALLTYPE ConnectServer(const BSTR strNetworkResource, const BSTR strUser,
                                            const BSTR strPassword, const BSTR strLocale,
                                            LONG lSecurityFlags, const BSTR strAuthority,
                                            IWbemContext *pCtx,
                                            IWbemServices **ppNamespace) override;

    // Whether a server name (without backslashes) means this machine.
    static bool isLocalServer(const std::wstring &server);

protected:
    const IID &interfaceId() const override { return IID_IWbemLocator; }

private:
    WbemLocator() = default;
    ~WbemLocator() override = default;
};
