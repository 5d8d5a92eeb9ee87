#include "StudioApplication.h"

#include "ModuleError.h"

#include <algorithm>

namespace orvane {

Application &Application::instance() { return StudioApplication::instance(); }

StudioApplication::StudioApplication() = default;

StudioApplication &StudioApplication::instance()
{
    static StudioApplication app;
    return app;
}

AbstractModule *StudioApplication::findModule(const void *requester, const char *name,
                                              const std::type_info &type, std::error_code &ec)
{
    AbstractModule *found = nullptr;
    const std::string key = name ? name : "";
    const auto it = std::find_if(m_modules.begin(), m_modules.end(),
                                 [&](const Entry &e) { return e.name == key; });
    if (it == m_modules.end()) {
        ec = ModuleError::NoSuchModule;
    } else if (*it->type != type) {
        ec = ModuleError::WrongInterface;
    } else {
        ec.clear();
        found = it->module.get();
    }
    if (m_observer)
        m_observer(Lookup{requester, key, std::type_index(type), found != nullptr});
    return found;
}

FlagRegistry &StudioApplication::flags() { return m_flags; }

HostFlagRegistry &StudioApplication::hostFlags() { return m_flags; }

void StudioApplication::registerModule(const std::string &name, std::unique_ptr<ModuleRef> handle)
{
    if (!handle)
        return;
    std::shared_ptr<AbstractModule> module = handle->module();
    const std::type_info &type = handle->interfaceType();
    addModule(name, std::move(module), type, std::move(handle));
}

void StudioApplication::addModule(const std::string &name, std::shared_ptr<AbstractModule> module,
                                  const std::type_info &type, std::unique_ptr<ModuleRef> handle)
{
    removeModule(name);
    m_modules.push_back(Entry{name, std::move(module), &type, std::move(handle)});
}

bool StudioApplication::removeModule(const std::string &name)
{
    const auto it = std::find_if(m_modules.begin(), m_modules.end(),
                                 [&](const Entry &e) { return e.name == name; });
    if (it == m_modules.end())
        return false;
    // Move the entry out first: a module's destructor may look modules up.
    Entry gone = std::move(*it);
    m_modules.erase(it);
    return true;
}

bool StudioApplication::hasModule(const std::string &name) const
{
    return std::any_of(m_modules.begin(), m_modules.end(),
                       [&](const Entry &e) { return e.name == name; });
}

std::vector<std::string> StudioApplication::moduleNames() const
{
    std::vector<std::string> names;
    names.reserve(m_modules.size());
    for (const Entry &e : m_modules)
        names.push_back(e.name);
    return names;
}

void StudioApplication::setLookupObserver(LookupObserver observer)
{
    m_observer = std::move(observer);
}

void StudioApplication::reset()
{
    // Release modules newest first, as they were built on one another.
    while (!m_modules.empty()) {
        Entry gone = std::move(m_modules.back());
        m_modules.pop_back();
    }
    m_flags.clear();
    m_observer = nullptr;
}

} // namespace orvane
