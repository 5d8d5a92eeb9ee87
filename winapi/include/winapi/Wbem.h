#pragma once

// Everything a WMI query client needs, in one header: the stand-in for the
// Windows SDK's windows.h, comdef.h and wbemidl.h on other systems.
#include <winapi/ComBase.h>
#include <winapi/ComDef.h>
#include <winapi/OleAuto.h>
#include <winapi/WbemCli.h>
#include <winapi/WinTypes.h>
