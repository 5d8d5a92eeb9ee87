#pragma once

#include "host/DeviceKind.h"

#include <string>

// A device kind known by its name.
class HostDeviceKind final : public DeviceKind
{
public:
    explicit HostDeviceKind(std::string name);
    std::string name() const override;

private:
    std::string m_name;
};
