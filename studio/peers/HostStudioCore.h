#pragma once

#include "HostDeviceRegistry.h"
#include "host/StudioCore.h"

#include <memory>

class SettingsStore;

// The host application's core: its settings store and its devices.
class HostStudioCore final : public StudioCore
{
public:
    explicit HostStudioCore(std::shared_ptr<SettingsStore> store);
    SettingsStore &settings() override;
    DeviceRegistry &devices() override;
    HostDeviceRegistry &hostDevices();

private:
    std::shared_ptr<SettingsStore> m_store;
    HostDeviceRegistry m_devices;
};
