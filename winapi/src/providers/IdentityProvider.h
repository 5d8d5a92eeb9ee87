#pragma once

#include "ClassTable.h"

// The machine identity classes, with the properties the address list's
// owner asks of them: Win32_BIOS and Win32_BaseBoard serial numbers from the
// firmware's DMI tables as the kernel shows them in /sys/class/dmi/id (NULL
// when they cannot be read: they need root), Win32_Processor's name (on x86
// CPUID's brand string, as Windows shows it) and id (the CPUID signature),
// Win32_ComputerSystem's NetBIOS name and Win32_TimeZone's caption. Rows
// give their values in ClassCatalog's property order.
class IdentityProvider
{
public:
    static std::vector<Values> biosRows();
    static std::vector<Values> baseBoardRows();
    static std::vector<Values> processorRows();
    static std::vector<Values> computerSystemRows();
    static std::vector<Values> timeZoneRows();
};
