#pragma once

#include <string>

// The Plug and Play identity Windows would give a network interface's
// device: PCI\VEN_..&DEV_..&SUBSYS_..&REV_..\instance for PCI devices,
// USB\VID_..&PID_..\instance for USB devices.
class PnpDeviceId
{
public:
    // Empty when the interface has no device (loopback, bridges, veth, ...).
    static std::wstring forInterface(const std::string &interfaceName);
    // The name of the device's kernel driver, or the empty text.
    static std::string driverName(const std::string &interfaceName);
};
