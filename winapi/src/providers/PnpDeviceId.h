#pragma once

#include <string>

// The Plug and Play identity Windows would give a network interface's
// device: PCI\VEN_..&DEV_..&SUBSYS_..&REV_..\instance for PCI devices,
// USB\VID_..&PID_..\instance for USB devices. Takes the device's sysfs
// folder (NetworkInterface::devicePath).
class PnpDeviceId
{
public:
    // Empty when no PCI or USB device is found above the folder.
    static std::wstring forDevice(const std::string &devicePath);
};
