#pragma once

#include "ClassTable.h"

// Win32_TimeZone: the system time zone, with Windows' bias sign (minutes
// to add to local time to get UTC).
class TimeZoneProvider
{
public:
    static std::vector<std::wstring> columns();
    static std::vector<Values> rows();
};
