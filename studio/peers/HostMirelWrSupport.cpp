#include "HostMirelWrSupport.h"

HostMirelWrSupport::HostMirelWrSupport(std::shared_ptr<SettingsStore> store)
    : m_store(std::move(store))
{ }

SettingsStore &HostMirelWrSupport::settings() { return *m_store; }
