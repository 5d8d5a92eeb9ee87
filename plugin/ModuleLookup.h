#pragma once

#include "host/Application.h"
#include "plugin/ModuleIdentity.h"

#include <system_error>
#include <typeinfo>

// Finds the peer module `name` by its interface type `T`, afresh on every
// call: nothing of a peer is cached. A failure the host reports is thrown
// as std::system_error carrying exactly the host's code.
template<typename T>
T *lookupModule(orvane::Application &app, const char *name)
{
    std::error_code ec;
    orvane::AbstractModule *module = app.findModule(moduleIdentity(), name, typeid(T), ec);
    if (ec)
        throw std::system_error(ec);
    return static_cast<T *>(module);
}
