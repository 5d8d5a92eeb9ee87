#pragma once

#include "ClassTable.h"
#include "ComObject.h"
#include "WbemClassObject.h"

#include <winapi/WbemCli.h>

// The rows of one query, handed out in order.
class EnumWbemClassObject final : public ComObject<IEnumWbemClassObject>
{
public:
    static IEnumWbemClassObject *create(ClassTable table, bool forwardOnly);

    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Next(LONG lTimeout, ULONG uCount, IWbemClassObject **apObjects,
                                   ULONG *puReturned) override;
    HRESULT STDMETHODCALLTYPE Skip(LONG lTimeout, ULONG nCount) override;

protected:
    const IID &interfaceId() const override { return IID_IEnumWbemClassObject; }

private:
    EnumWbemClassObject() = default;
    ~EnumWbemClassObject() override = default;

    ClassTable m_table;
    WbemClassObject::Names m_names;
    std::size_t m_position = 0;
    bool m_forwardOnly = false;
};
