#pragma once

#include "ClassTable.h"
#include "ComObject.h"
#include "WbemClassObject.h"

#include <winapi/WbemCli.h>

// The rows of one query, handed out once each, in order (forward only:
// the only way a WMI client here asks for them).
class EnumWbemClassObject final : public ComObject<IEnumWbemClassObject>
{
public:
    static IEnumWbemClassObject *create(ClassTable table);

    HRESULT STDMETHODCALLTYPE Next(LONG lTimeout, ULONG uCount, IWbemClassObject **apObjects,
                                   ULONG *puReturned) override;

protected:
    const IID &interfaceId() const override { return IID_IEnumWbemClassObject; }

private:
    EnumWbemClassObject() = default;
    ~EnumWbemClassObject() override = default;

    ClassTable m_table;
    WbemClassObject::Names m_names;
    std::size_t m_position = 0;
};
