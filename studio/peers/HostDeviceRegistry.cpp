#include "HostDeviceRegistry.h"

std::vector<std::shared_ptr<DeviceKind>> HostDeviceRegistry::deviceKinds() { return m_kinds; }

std::shared_ptr<Device> HostDeviceRegistry::currentDevice() { return m_current; }

void HostDeviceRegistry::setKindNames(const std::vector<std::string> &names)
{
    m_kinds.clear();
    for (const std::string &name : names)
        m_kinds.push_back(std::make_shared<HostDeviceKind>(name));
}

void HostDeviceRegistry::setCurrentDevice(std::shared_ptr<HostDevice> device)
{
    m_current = std::move(device);
}

std::shared_ptr<HostDevice> HostDeviceRegistry::hostDevice() const { return m_current; }
