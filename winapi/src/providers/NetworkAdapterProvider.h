#pragma once

#include "NetworkInterfaces.h"

#include <winapi/WinapiSeam.h>

// Win32_NetworkAdapter and Win32_NetworkAdapterConfiguration: one row per
// kernel network interface of the calling thread's network namespace, from
// one reading of the interfaces (NetworkInterfaces); device identities come
// from sysfs.
class NetworkAdapterProvider
{
public:
    static std::vector<std::wstring> adapterColumns();
    static std::vector<winapi_seam::Row> adapterRows(const std::vector<NetworkInterface> &interfaces);
    static std::vector<std::wstring> configurationColumns();
    static std::vector<winapi_seam::Row> configurationRows(
            const std::vector<NetworkInterface> &interfaces);
};
