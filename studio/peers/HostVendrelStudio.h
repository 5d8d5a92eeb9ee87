#pragma once

#include "HostStudioCore.h"
#include "host/VendrelStudioModule.h"

// "vendrel-studio": the host application module.
class HostVendrelStudio final : public VendrelStudioModule
{
public:
    explicit HostVendrelStudio(std::shared_ptr<SettingsStore> store);
    StudioCore &core() override;
    HostStudioCore &hostCore();

private:
    HostStudioCore m_core;
};
