#include "WbemClassObject.h"

#include "SeamState.h"
#include "TextFold.h"
#include "ValueVariant.h"

#include <new>
#include <utility>

using winapi_seam::Step;
using winapi_seam::Value;

IWbemClassObject *WbemClassObject::create(Names names, std::vector<Value> &&values)
{
    auto *object = new (std::nothrow) WbemClassObject;
    if (!object)
        return nullptr;
    object->m_names = std::move(names);
    object->m_values = std::move(values);
    return object;
}

HRESULT WbemClassObject::Get(LPCWSTR wszName, LONG lFlags, VARIANT *pVal, CIMTYPE *pType,
                             LONG *plFlavor)
{
    if (!wszName || lFlags != 0)
        return WBEM_E_INVALID_PARAMETER;
    if (HRESULT injected = S_OK; SeamState::shouldFail(Step::Get, &injected))
        return injected;

    const Value *value = nullptr;
    for (std::size_t i = 0; i < m_names->size() && !value; ++i) {
        if (TextFold::equal((*m_names)[i], wszName))
            value = &m_values[i];
    }
    if (!value)
        return WBEM_E_NOT_FOUND;
    if (pVal) {
        VARIANT filled;
        const HRESULT hr = ValueVariant::toVariant(*value, &filled);
        if (FAILED(hr))
            return WBEM_E_OUT_OF_MEMORY;
        *pVal = filled;
    }
    if (pType)
        *pType = ValueVariant::cimType(*value);
    if (plFlavor)
        *plFlavor = 0;
    return WBEM_S_NO_ERROR;
}

HRESULT WbemClassObject::GetNames(LPCWSTR wszQualifierName, LONG lFlags, VARIANT *,
                                  SAFEARRAY **pNames)
{
    if (!pNames)
        return WBEM_E_INVALID_PARAMETER;
    if (HRESULT injected = S_OK; SeamState::shouldFail(Step::GetNames, &injected))
        return injected;

    // No property carries qualifiers here, and the system properties are
    // not listed, so a qualifier filter or "system only" gives no names.
    const bool none =
            wszQualifierName || (lFlags & WBEM_MASK_CONDITION_ORIGIN) == WBEM_FLAG_SYSTEM_ONLY;
    SAFEARRAY *names = ValueVariant::textArray(none ? std::vector<std::wstring>() : *m_names);
    if (!names)
        return WBEM_E_OUT_OF_MEMORY;
    *pNames = names;
    return WBEM_S_NO_ERROR;
}
