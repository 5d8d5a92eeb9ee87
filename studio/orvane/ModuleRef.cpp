#include "host/ModuleRef.h"

#include "host/AbstractModule.h"

namespace orvane {

ModuleRef::ModuleRef(std::shared_ptr<AbstractModule> module, const std::type_info &interfaceType)
    : m_module(std::move(module))
    , m_interfaceType(interfaceType)
{ }

ModuleRef::~ModuleRef() = default;

const void *ModuleRef::moduleId() const
{
    // The module object's address: unique among living modules and the
    // same for every handle of one module.
    return m_module.get();
}

const std::shared_ptr<AbstractModule> &ModuleRef::module() const { return m_module; }

const std::type_info &ModuleRef::interfaceType() const { return m_interfaceType; }

} // namespace orvane
