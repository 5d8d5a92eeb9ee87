#pragma once

#include "host/AbstractModule.h"
#include "host/StudioCore.h"

// The host application module, registered as "vendrel-studio".
class ORVANE_EXPORT VendrelStudioModule : public orvane::AbstractModule
{
public:
    virtual StudioCore &core() = 0;
    ~VendrelStudioModule() override;
};
