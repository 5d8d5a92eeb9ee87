#include "plugin/PluginExports.h"

#include "host/FlagRegistry.h"
#include "host/ModuleRef.h"
#include "lookup/ModuleIdentity.h"
#include "plugin/UisDevModuleImplT.h"
#include "settings/SettingsKeys.h"

#include <memory>
#include <typeinfo>

namespace {

const char kDescriptor[] = "{\"architecture\":\"3.1.2.1\",\"name\":\"uis_dev\","
                           "\"module_entry\":\"__orvane_internal_create_uis_dev_module__\"}";

// The framework keeps the handle's constructor protected; this is how the
// factory reaches it.
class UisDevModuleHandle final : public orvane::ModuleRef
{
public:
    UisDevModuleHandle(std::shared_ptr<orvane::AbstractModule> module, const std::type_info &type)
        : orvane::ModuleRef(std::move(module), type)
    { }
};

} // namespace

const char *VD_GetPluginInfo() { return kDescriptor; }

orvane::ModuleRef *__orvane_internal_create_uis_dev_module__(FlagRegistry *flags)
{
    // Declared before the module exists, so the flag is known even if
    // creating the module fails.
    if (flags)
        flags->declareFlag(kHyperFpsFlag, 0);
    std::shared_ptr<orvane::AbstractModule> module(new UisDevModuleImplT);
    // The host knows the module by its interface, not its implementation.
    auto *handle = new UisDevModuleHandle(std::move(module), typeid(UisDevModule));
    setModuleIdentity(handle->moduleId());
    return handle;
}
