#pragma once

#include "HostDevice.h"
#include "HostDeviceKind.h"
#include "host/DeviceRegistry.h"

#include <memory>
#include <string>
#include <vector>

// The device kinds and the current device, as the host configures them.
class HostDeviceRegistry final : public DeviceRegistry
{
public:
    std::vector<std::shared_ptr<DeviceKind>> deviceKinds() override;
    std::shared_ptr<Device> currentDevice() override;

    void setKindNames(const std::vector<std::string> &names);
    // Null for "no current device".
    void setCurrentDevice(std::shared_ptr<HostDevice> device);
    std::shared_ptr<HostDevice> hostDevice() const;

private:
    std::vector<std::shared_ptr<DeviceKind>> m_kinds;
    std::shared_ptr<HostDevice> m_current;
};
