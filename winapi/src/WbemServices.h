#pragma once

#include "ComObject.h"

#include <winapi/WbemCli.h>

// The connected namespace root\cimv2 of the local machine.
class WbemServices final : public ComObject<IWbemServices>
{
public:
    static IWbemServices *create();

    HRESULT STDMETHODCALLTYPE GetObject(const BSTR strObjectPath, LONG lFlags, IWbemContext *pCtx,
                                        IWbemClassObject **ppObject,
                                        IWbemCallResult **ppCallResult) override;
    HRESULT STDMETHODCALLTYPE ExecQuery(const BSTR strQueryLanguage, const BSTR strQuery,
                                        LONG lFlags, IWbemContext *pCtx,
                                        IEnumWbemClassObject **ppEnum) override;

protected:
    const IID &interfaceId() const override { return IID_IWbemServices; }

private:
    WbemServices() = default;
    ~WbemServices() override = default;
};
