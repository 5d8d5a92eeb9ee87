#pragma once

#include "host/DevHwupModule.h"

#include <memory>

// "dev_hwup": the inertial hardware module, here only its settings store.
class HostDevHwup final : public DevHwupModule
{
public:
    explicit HostDevHwup(std::shared_ptr<SettingsStore> store);
    SettingsStore &settings() override;

private:
    std::shared_ptr<SettingsStore> m_store;
};
