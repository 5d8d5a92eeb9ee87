#include "EnumWbemClassObject.h"

#include "SeamState.h"
#include "WbemClassObject.h"

#include <new>
#include <utility>

IEnumWbemClassObject *EnumWbemClassObject::create(ClassTable table)
{
    auto *enumerator = new (std::nothrow) EnumWbemClassObject;
    if (!enumerator)
        return nullptr;
    enumerator->m_table = std::move(table);
    enumerator->m_names = std::make_shared<const std::vector<std::wstring>>(
            std::move(enumerator->m_table.columns));
    return enumerator;
}

HRESULT EnumWbemClassObject::Next(LONG lTimeout, ULONG uCount, IWbemClassObject **apObjects,
                                  ULONG *puReturned)
{
    if (!puReturned || (!apObjects && uCount > 0))
        return WBEM_E_INVALID_PARAMETER;
    if (lTimeout < 0 && lTimeout != static_cast<LONG>(WBEM_INFINITE))
        return WBEM_E_INVALID_PARAMETER;
    *puReturned = 0;
    if (HRESULT injected = S_OK; SeamState::shouldFail(winapi_seam::Step::Next, &injected))
        return injected;

    ULONG returned = 0;
    while (returned < uCount && m_position < m_table.rows.size()) {
        // No row is handed out twice: its values move into the object.
        IWbemClassObject *object =
                WbemClassObject::create(m_names, std::move(m_table.rows[m_position]));
        if (!object) {
            for (ULONG i = 0; i < returned; ++i) {
                apObjects[i]->Release();
                apObjects[i] = nullptr;
            }
            return WBEM_E_OUT_OF_MEMORY;
        }
        apObjects[returned++] = object;
        ++m_position;
    }
    *puReturned = returned;
    return returned == uCount ? WBEM_S_NO_ERROR : WBEM_S_FALSE;
}
