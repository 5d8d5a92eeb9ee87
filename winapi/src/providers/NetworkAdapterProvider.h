#pragma once

#include <winapi/WinapiSeam.h>

// Win32_NetworkAdapter and Win32_NetworkAdapterConfiguration: one row per
// kernel network interface of the calling process's network namespace.
// Interfaces come from getifaddrs (netlink), device identities from sysfs.
class NetworkAdapterProvider
{
public:
    static std::vector<std::wstring> adapterColumns();
    static std::vector<winapi_seam::Row> adapterRows();
    static std::vector<std::wstring> configurationColumns();
    static std::vector<winapi_seam::Row> configurationRows();
};
