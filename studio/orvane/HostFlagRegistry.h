#pragma once

#include "host/FlagRegistry.h"

#include <map>
#include <optional>
#include <string>

namespace orvane {

// The host's flags: declared by modules with a default, set by the host
// (from its command line) before or after the declaration.
class ORVANE_EXPORT HostFlagRegistry final : public FlagRegistry
{
public:
    bool declareFlag(const char *key, int defaultValue) override;
    bool isFlagSet(const char *key) override;

    // The host's own setting wins over the declared default.
    void setFlag(const std::string &key, bool on);
    bool isDeclared(const std::string &key) const;
    // The default a module declared; nullopt when undeclared.
    std::optional<int> declaredDefault(const std::string &key) const;
    void clear();

private:
    struct Flag
    {
        std::optional<int> declaredDefault;
        std::optional<bool> hostValue;
    };
    std::map<std::string, Flag> m_flags;
};

} // namespace orvane
