#pragma once

#include "HostFlagRegistry.h"
#include "host/AbstractModule.h"
#include "host/Application.h"
#include "host/ModuleRef.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

namespace orvane {

// The stand-in host's application object: modules registered by name and
// interface type, and the feature flags. Application::instance() is this.
class ORVANE_EXPORT StudioApplication final : public Application
{
public:
    static StudioApplication &instance();

    AbstractModule *findModule(const void *requester, const char *name, const std::type_info &type,
                               std::error_code &ec) override;
    FlagRegistry &flags() override;
    HostFlagRegistry &hostFlags();

    // Registers a module the host made itself under its interface type.
    // An existing module of that name is replaced.
    template<typename Interface>
    void registerModule(const std::string &name, std::shared_ptr<Interface> module)
    {
        addModule(name, std::move(module), typeid(Interface), nullptr);
    }
    // Registers the module behind a handle a plug-in factory returned.
    void registerModule(const std::string &name, std::unique_ptr<ModuleRef> handle);
    // Unregisters `name`; the module goes when its last owner does.
    bool removeModule(const std::string &name);
    bool hasModule(const std::string &name) const;
    // Names in registration order.
    std::vector<std::string> moduleNames() const;

    // Every findModule call, as the host saw it (tests and diagnostics).
    struct Lookup
    {
        const void *requester;
        std::string name;
        std::type_index type;
        bool found;
    };
    using LookupObserver = std::function<void(const Lookup &)>;
    void setLookupObserver(LookupObserver observer);

    // Forgets every module, flag and observer, so tests start afresh.
    void reset();

private:
    StudioApplication();
    void addModule(const std::string &name, std::shared_ptr<AbstractModule> module,
                   const std::type_info &type, std::unique_ptr<ModuleRef> handle);

    struct Entry
    {
        std::string name;
        std::shared_ptr<AbstractModule> module;
        const std::type_info *type;
        std::unique_ptr<ModuleRef> handle;
    };
    std::vector<Entry> m_modules;
    HostFlagRegistry m_flags;
    LookupObserver m_observer;
};

} // namespace orvane
