#pragma once

#include "host/AbstractModule.h"
#include "host/SettingsStore.h"

// The hybrid system module, registered as "mirel_wr_support".
class ORVANE_EXPORT MirelWrSupportModule : public orvane::AbstractModule
{
public:
    virtual SettingsStore &settings() = 0;
    ~MirelWrSupportModule() override;
};
