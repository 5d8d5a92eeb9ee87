#pragma once

#include "host/AbstractModule.h"
#include "host/PageRegistry.h"

// The settings-dialog module, registered as "uis_manager".
class ORVANE_EXPORT UisManagerModule : public orvane::AbstractModule
{
public:
    virtual PageRegistry &pageRegistry() = 0;
    ~UisManagerModule() override;
};
