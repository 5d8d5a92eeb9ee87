#pragma once

#include "wmi/WmiPlatform.h"

#include <QString>

// "0x80041017 (WBEM_E_INVALID_QUERY)": the HRESULT in hex and, when it is one
// that COM or WMI calls of this project can give, its symbolic name.
QString hresultText(HRESULT hr);
