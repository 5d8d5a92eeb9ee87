#pragma once

#include "host/OrvaneGlobal.h"

#include <system_error>
#include <typeinfo>

class FlagRegistry;

namespace orvane {

class AbstractModule;

// The host application object: the registry of modules and the feature
// flags. Only the host's user-interface thread calls it.
class ORVANE_EXPORT Application
{
public:
    static Application &instance();

    // The module registered under `name` with the interface `type`.
    // On success `ec` is cleared (value 0), also when an earlier call set it;
    // on failure `ec` holds the host's reason and the result is null.
    // `requester` is the asking module's identity (null before it has one).
    virtual AbstractModule *findModule(const void *requester, const char *name,
                                       const std::type_info &type, std::error_code &ec) = 0;
    // The registry that module factories receive.
    virtual FlagRegistry &flags() = 0;

    virtual ~Application();

protected:
    Application();
    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;
};

} // namespace orvane
