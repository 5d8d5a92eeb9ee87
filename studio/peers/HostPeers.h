#pragma once

#include "HostDevHwup.h"
#include "HostMirelWrSupport.h"
#include "HostUisManager.h"
#include "HostVendrelStudio.h"
#include "MemorySettingsStore.h"

#include <memory>

namespace orvane {
class StudioApplication;
}

// The host's four peer modules with their stores, made and registered
// together under their names and interface types.
class HostPeers
{
public:
    static constexpr const char *kUisManager = "uis_manager";
    static constexpr const char *kVendrelStudio = "vendrel-studio";
    static constexpr const char *kDevHwup = "dev_hwup";
    static constexpr const char *kMirelWrSupport = "mirel_wr_support";

    // Peers over in-memory stores; device kinds "UNI" and "hybird", no
    // current device.
    HostPeers();
    // Peers over the given stores (persistent ones in the studio).
    HostPeers(std::shared_ptr<MemorySettingsStore> appStore,
              std::shared_ptr<MemorySettingsStore> hwupStore,
              std::shared_ptr<MemorySettingsStore> mirelStore);

    void registerAll(orvane::StudioApplication &app) const;

    std::shared_ptr<MemorySettingsStore> appStore;
    std::shared_ptr<MemorySettingsStore> hwupStore;
    std::shared_ptr<MemorySettingsStore> mirelStore;
    std::shared_ptr<HostUisManager> uisManager;
    std::shared_ptr<HostVendrelStudio> studio;
    std::shared_ptr<HostDevHwup> devHwup;
    std::shared_ptr<HostMirelWrSupport> mirel;
};
