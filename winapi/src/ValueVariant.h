#pragma once

#include <winapi/OleAuto.h>
#include <winapi/WbemCli.h>
#include <winapi/WinapiSeam.h>

// Hands a property value out as WMI does: VT_NULL, VT_BSTR, VT_I4,
// VT_BOOL or VT_ARRAY|VT_BSTR, each with its CIM type.
class ValueVariant
{
public:
    // Fills an uninitialised VARIANT; E_OUTOFMEMORY leaves it VT_EMPTY.
    static HRESULT toVariant(const winapi_seam::Value &value, VARIANT *target);
    static CIMTYPE cimType(const winapi_seam::Value &value);
    // A new BSTR array holding the texts, or null when memory runs out.
    static SAFEARRAY *textArray(const std::vector<std::wstring> &texts);
};
