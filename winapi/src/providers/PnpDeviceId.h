#pragma once

#include "NetworkInterfaces.h"

#include <winapi/WinapiSeam.h>

#include <string>
#include <vector>

// The Plug and Play identity Windows would give a network interface's
// device: PCI\VEN_..&DEV_..&SUBSYS_..&REV_..\instance for PCI devices,
// USB\VID_..&PID_..\instance for USB devices, read from sysfs; BUS\DEVICE
// for a device on another bus.
class PnpDeviceId
{
public:
    // One per interface, in their order, each text read from sysfs when it
    // is first read; NULL for a software interface.
    static std::vector<winapi_seam::Value> forInterfaces(
            const std::vector<NetworkInterface> &interfaces);
};
