#pragma once

#include "host/Device.h"

// The simulated current device; the host connects and disconnects it.
class HostDevice final : public Device
{
public:
    bool isActive() const override;
    void setActive(bool active);

private:
    bool m_active = false;
};
