#pragma once

#include "host/OrvaneGlobal.h"

#include <memory>
#include <vector>

class Device;
class DeviceKind;

// The device kinds the host supports and the device it currently uses.
class ORVANE_EXPORT DeviceRegistry
{
public:
    virtual std::vector<std::shared_ptr<DeviceKind>> deviceKinds() = 0;
    // Empty when the host has no current device.
    virtual std::shared_ptr<Device> currentDevice() = 0;
    virtual ~DeviceRegistry();
};
