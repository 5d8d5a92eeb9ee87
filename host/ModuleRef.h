#pragma once

#include "host/OrvaneGlobal.h"

#include <memory>
#include <typeinfo>

namespace orvane {

class AbstractModule;

// The host's owning handle of one module: the module under shared
// ownership and the type record of the interface it is known by.
// A plug-in factory derives a handle type of its own to reach the
// constructor; the host deletes the handle before it unloads the plug-in.
class ORVANE_EXPORT ModuleRef
{
public:
    virtual ~ModuleRef();

    // Opaque identity of the module: unique per module, stable while the
    // handle lives. A module presents it to the host on every look-up.
    const void *moduleId() const;

    const std::shared_ptr<AbstractModule> &module() const;
    const std::type_info &interfaceType() const;

protected:
    ModuleRef(std::shared_ptr<AbstractModule> module, const std::type_info &interfaceType);
    ModuleRef(const ModuleRef &) = delete;
    ModuleRef &operator=(const ModuleRef &) = delete;

private:
    std::shared_ptr<AbstractModule> m_module;
    const std::type_info &m_interfaceType;
};

} // namespace orvane
