#include "plugin/UisDevModuleImplT.h"

#include "host/UisManagerModule.h"
#include "lookup/ModuleLookup.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsPage.h"

#include <memory>

namespace {
// The dialog group the "Device" page is listed in.
constexpr int kDevicePageGroup = 4;
} // namespace

bool UisDevModuleImplT::init(orvane::Application &app)
{
    // Looked up on the application the host hands us: init may run before
    // Application::instance() is the host's.
    UisManagerModule *manager = lookupModule<UisManagerModule>(app, kManagerModule);
    // From here on the settings dialog is the page's only owner.
    manager->pageRegistry().addPage(std::make_shared<SettingsPage>(), kDevicePageGroup);
    return true;
}

void UisDevModuleImplT::uninit()
{
    // The page stays with the dialog, which outlives the module's use.
}
