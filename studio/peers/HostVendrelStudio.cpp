#include "HostVendrelStudio.h"

HostVendrelStudio::HostVendrelStudio(std::shared_ptr<SettingsStore> store)
    : m_core(std::move(store))
{ }

StudioCore &HostVendrelStudio::core() { return m_core; }

HostStudioCore &HostVendrelStudio::hostCore() { return m_core; }
