#include "HostDevice.h"

bool HostDevice::isActive() const { return m_active; }

void HostDevice::setActive(bool active) { m_active = active; }
