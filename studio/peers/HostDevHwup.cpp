#include "HostDevHwup.h"

HostDevHwup::HostDevHwup(std::shared_ptr<SettingsStore> store)
    : m_store(std::move(store))
{ }

SettingsStore &HostDevHwup::settings() { return *m_store; }
