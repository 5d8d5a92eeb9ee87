#pragma once

#include "host/OrvaneGlobal.h"

// The host's current capture device.
class ORVANE_EXPORT Device
{
public:
    // True while the device is in use; its settings are then read-only.
    virtual bool isActive() const = 0;
    virtual ~Device();
};
