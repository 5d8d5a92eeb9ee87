#pragma once

#include "ComObject.h"

#include <winapi/WbemCli.h>
#include <winapi/WinapiSeam.h>

#include <memory>
#include <string>
#include <vector>

// One instance (or the definition) of a class as a query or GetObject hands
// it out: its own copy of the property names and values.
class WbemClassObject final : public ComObject<IWbemClassObject>
{
public:
    using Names = std::shared_ptr<const std::vector<std::wstring>>;

    // `names` is shared by the rows of one result: only values are kept
    // per object, moved in, and left untouched when the object cannot be
    // made.
    static IWbemClassObject *create(Names names, std::vector<winapi_seam::Value> &&values);

    HRESULT STDMETHODCALLTYPE Get(LPCWSTR wszName, LONG lFlags, VARIANT *pVal, CIMTYPE *pType,
                                  LONG *plFlavor) override;
    HRESULT STDMETHODCALLTYPE GetNames(LPCWSTR wszQualifierName, LONG lFlags,
                                       VARIANT *pQualifierVal, SAFEARRAY **pNames) override;

protected:
    const IID &interfaceId() const override { return IID_IWbemClassObject; }

private:
    WbemClassObject() = default;
    ~WbemClassObject() override = default;

    Names m_names;
    std::vector<winapi_seam::Value> m_values;
};
