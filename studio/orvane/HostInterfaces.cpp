// Out-of-line destructors anchor each interface's vtable and type record in
// the framework library, so plug-ins import them instead of carrying copies.
#include "host/AbstractSettingsPage.h"
#include "host/Application.h"
#include "host/DevHwupModule.h"
#include "host/Device.h"
#include "host/DeviceKind.h"
#include "host/DeviceRegistry.h"
#include "host/FlagRegistry.h"
#include "host/MirelWrSupportModule.h"
#include "host/PageRegistry.h"
#include "host/SettingsStore.h"
#include "host/StudioCore.h"
#include "host/UisManagerModule.h"
#include "host/VendrelStudioModule.h"

FlagRegistry::~FlagRegistry() = default;
SettingsStore::~SettingsStore() = default;
AbstractSettingsPage::~AbstractSettingsPage() = default;
PageRegistry::~PageRegistry() = default;
StudioCore::~StudioCore() = default;
DeviceRegistry::~DeviceRegistry() = default;
DeviceKind::~DeviceKind() = default;
Device::~Device() = default;
UisManagerModule::~UisManagerModule() = default;
VendrelStudioModule::~VendrelStudioModule() = default;
DevHwupModule::~DevHwupModule() = default;
MirelWrSupportModule::~MirelWrSupportModule() = default;

namespace orvane {
Application::Application() = default;
Application::~Application() = default;
} // namespace orvane
