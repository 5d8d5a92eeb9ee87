#pragma once

#include <winapi/WinapiSeam.h>

// Win32_TimeZone: the system time zone, with Windows' bias sign (minutes
// to add to local time to get UTC).
class TimeZoneProvider
{
public:
    static std::vector<std::wstring> columns();
    static std::vector<winapi_seam::Row> rows();
};
