#include "HostStudioCore.h"

#include "host/SettingsStore.h"

HostStudioCore::HostStudioCore(std::shared_ptr<SettingsStore> store)
    : m_store(std::move(store))
{ }

SettingsStore &HostStudioCore::settings() { return *m_store; }

DeviceRegistry &HostStudioCore::devices() { return m_devices; }

HostDeviceRegistry &HostStudioCore::hostDevices() { return m_devices; }
