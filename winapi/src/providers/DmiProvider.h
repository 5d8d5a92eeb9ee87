#pragma once

#include "ClassTable.h"

// Win32_BIOS and Win32_BaseBoard from the firmware's DMI tables as the
// kernel shows them in /sys/class/dmi/id; NULL for what cannot be read
// (the serial numbers need root).
class DmiProvider
{
public:
    static std::vector<std::wstring> biosColumns();
    static std::vector<Values> biosRows();
    static std::vector<std::wstring> baseBoardColumns();
    static std::vector<Values> baseBoardRows();
};
