#include "ValueVariant.h"

#include "BstrMemory.h"

using winapi_seam::Value;

HRESULT ValueVariant::toVariant(const Value &value, VARIANT *target)
{
    VariantInit(target);
    switch (value.kind()) {
    case Value::Kind::Null:
        target->vt = VT_NULL;
        return S_OK;
    case Value::Kind::Text:
        target->bstrVal = BstrMemory::allocate(value.textValue());
        if (!target->bstrVal)
            return E_OUTOFMEMORY;
        target->vt = VT_BSTR;
        return S_OK;
    case Value::Kind::Int32:
        target->vt = VT_I4;
        target->lVal = value.intValue();
        return S_OK;
    case Value::Kind::Boolean:
        target->vt = VT_BOOL;
        target->boolVal = value.boolValue() ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    case Value::Kind::TextArray:
        target->parray = textArray(value.arrayValue());
        if (!target->parray)
            return E_OUTOFMEMORY;
        target->vt = VT_ARRAY | VT_BSTR;
        return S_OK;
    }
    return E_UNEXPECTED;
}

CIMTYPE ValueVariant::cimType(const Value &value)
{
    // By Value::Kind: Null (of a string property), Text, Int32, Boolean, TextArray.
    const CIMTYPE types[] = {CIM_STRING, CIM_STRING, CIM_SINT32, CIM_BOOLEAN,
                             CIM_STRING | CIM_FLAG_ARRAY};
    return types[static_cast<int>(value.kind())];
}

SAFEARRAY *ValueVariant::textArray(const std::vector<std::wstring> &texts)
{
    SAFEARRAY *array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(texts.size()));
    if (!array)
        return nullptr;
    auto *slots = static_cast<BSTR *>(array->pvData);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        slots[i] = BstrMemory::allocate(texts[i]);
        if (!slots[i]) {
            SafeArrayDestroy(array);
            return nullptr;
        }
    }
    return array;
}
