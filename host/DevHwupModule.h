#pragma once

#include "host/AbstractModule.h"
#include "host/SettingsStore.h"

// The inertial hardware module, registered as "dev_hwup".
class ORVANE_EXPORT DevHwupModule : public orvane::AbstractModule
{
public:
    virtual SettingsStore &settings() = 0;
    ~DevHwupModule() override;
};
