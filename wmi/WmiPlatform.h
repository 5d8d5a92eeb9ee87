#pragma once

// The one place where the WMI client meets the platform: the Windows SDK on
// Windows, the COM/WMI stand-in everywhere else. Both speak the same names,
// types and signatures.
#ifdef _WIN32
// windows.h comes first: it renames GetObject to GetObjectW, and the WMI
// interface declarations must see the same rename as the callers.
#include <windows.h>

#include <comdef.h>
#include <wbemidl.h>
#else
#include <winapi/Wbem.h>
#endif
