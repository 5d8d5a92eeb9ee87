#include "HostFlagRegistry.h"

namespace orvane {

bool HostFlagRegistry::declareFlag(const char *key, int defaultValue)
{
    if (!key)
        return false;
    Flag &flag = m_flags[key];
    if (flag.declaredDefault)
        return false;
    flag.declaredDefault = defaultValue;
    return true;
}

bool HostFlagRegistry::isFlagSet(const char *key)
{
    if (!key)
        return false;
    const auto it = m_flags.find(key);
    if (it == m_flags.end())
        return false;
    if (it->second.hostValue)
        return *it->second.hostValue;
    return it->second.declaredDefault.value_or(0) != 0;
}

void HostFlagRegistry::setFlag(const std::string &key, bool on) { m_flags[key].hostValue = on; }

bool HostFlagRegistry::isDeclared(const std::string &key) const
{
    return declaredDefault(key).has_value();
}

std::optional<int> HostFlagRegistry::declaredDefault(const std::string &key) const
{
    const auto it = m_flags.find(key);
    return it == m_flags.end() ? std::nullopt : it->second.declaredDefault;
}

void HostFlagRegistry::clear() { m_flags.clear(); }

} // namespace orvane
