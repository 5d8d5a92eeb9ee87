#include "HostDeviceKind.h"

HostDeviceKind::HostDeviceKind(std::string name)
    : m_name(std::move(name))
{ }

std::string HostDeviceKind::name() const { return m_name; }
