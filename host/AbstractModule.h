#pragma once

#include "host/OrvaneGlobal.h"

namespace orvane {

class Application;

// Base of every module the host knows: its own, its peers' and the
// plug-ins'. A peer module's own operations follow these four.
class ORVANE_EXPORT AbstractModule
{
public:
    // Called once after the module is registered; false refuses the module.
    virtual bool init(Application &app);
    // Called before the host lets go of the module.
    virtual void uninit();
    // Whether the module shows up in the host's module lists.
    virtual bool isVisible();
    virtual ~AbstractModule();

protected:
    AbstractModule();
    AbstractModule(const AbstractModule &) = delete;
    AbstractModule &operator=(const AbstractModule &) = delete;
};

} // namespace orvane
