#pragma once

#include "host/OrvaneGlobal.h"

#include <string>

// A kind of capture device the host supports: "UNI" for the inertial
// hardware, "hybird" for the hybrid system.
class ORVANE_EXPORT DeviceKind
{
public:
    virtual std::string name() const = 0;
    virtual ~DeviceKind();
};
