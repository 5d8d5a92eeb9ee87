#pragma once

#include "host/Application.h"
#include "lookup/ModuleIdentity.h"

#include <system_error>
#include <typeinfo>

// Finds the peer module `name` by its interface type `T`, afresh on every
// call: nothing of a peer is cached. Null when the host reports a failure,
// whose reason is then in `ec` (cleared on success).
template<typename T>
T *tryLookupModule(orvane::Application &app, const char *name, std::error_code &ec)
{
    orvane::AbstractModule *module = app.findModule(moduleIdentity(), name, typeid(T), ec);
    return ec ? nullptr : static_cast<T *>(module);
}

// As tryLookupModule, but a failure is thrown as std::system_error carrying
// exactly the host's code.
template<typename T>
T *lookupModule(orvane::Application &app, const char *name)
{
    std::error_code ec;
    T *module = tryLookupModule<T>(app, name, ec);
    if (ec)
        throw std::system_error(ec);
    return module;
}
