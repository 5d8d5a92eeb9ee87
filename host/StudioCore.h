#pragma once

#include "host/OrvaneGlobal.h"

class DeviceRegistry;
class SettingsStore;

// The host application's core: its own settings store and its devices.
class ORVANE_EXPORT StudioCore
{
public:
    virtual SettingsStore &settings() = 0;
    virtual DeviceRegistry &devices() = 0;
    virtual ~StudioCore();
};
