#pragma once

#include "WqlQuery.h"

#include <winapi/WinTypes.h>

// An object path as GetObject takes it: [\\server\namespace:]Class,
// Class=@, or Class.Key=value[,Key=value...] with quoted strings, integers
// or TRUE/FALSE as values.
class ObjectPath
{
public:
    // The path as a query for its instance; `classOnly` when it names the
    // class itself. WBEM_E_INVALID_OBJECT_PATH when malformed.
    static HRESULT parse(const std::wstring &path, WqlQuery *query, bool *classOnly);
};
