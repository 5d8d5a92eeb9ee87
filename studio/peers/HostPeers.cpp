#include "HostPeers.h"

#include "studio/orvane/StudioApplication.h"

HostPeers::HostPeers()
    : HostPeers(std::make_shared<MemorySettingsStore>(), std::make_shared<MemorySettingsStore>(),
                std::make_shared<MemorySettingsStore>())
{ }

HostPeers::HostPeers(std::shared_ptr<MemorySettingsStore> appStore_,
                     std::shared_ptr<MemorySettingsStore> hwupStore_,
                     std::shared_ptr<MemorySettingsStore> mirelStore_)
    : appStore(std::move(appStore_))
    , hwupStore(std::move(hwupStore_))
    , mirelStore(std::move(mirelStore_))
    , uisManager(std::make_shared<HostUisManager>())
    , studio(std::make_shared<HostVendrelStudio>(appStore))
    , devHwup(std::make_shared<HostDevHwup>(hwupStore))
    , mirel(std::make_shared<HostMirelWrSupport>(mirelStore))
{
    studio->hostCore().hostDevices().setKindNames({"UNI", "hybird"});
}

void HostPeers::registerAll(orvane::StudioApplication &app) const
{
    app.registerModule<UisManagerModule>(kUisManager, uisManager);
    app.registerModule<VendrelStudioModule>(kVendrelStudio, studio);
    app.registerModule<DevHwupModule>(kDevHwup, devHwup);
    app.registerModule<MirelWrSupportModule>(kMirelWrSupport, mirel);
}
