#pragma once

#include "host/MirelWrSupportModule.h"

#include <memory>

// "mirel_wr_support": the hybrid system module, here only its settings store.
class HostMirelWrSupport final : public MirelWrSupportModule
{
public:
    explicit HostMirelWrSupport(std::shared_ptr<SettingsStore> store);
    SettingsStore &settings() override;

private:
    std::shared_ptr<SettingsStore> m_store;
};
