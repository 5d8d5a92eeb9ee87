#pragma once

#include "host/OrvaneGlobal.h"

// Named on/off feature flags of the host. A module declares the flags it
// reads with their default; the host may set a flag's value (from its
// command line) before or after the declaration.
class ORVANE_EXPORT FlagRegistry
{
public:
    // Declares `key` with `defaultValue` (0 off, anything else on). Answers
    // false when the flag was already declared; the first default stays.
    virtual bool declareFlag(const char *key, int defaultValue) = 0;
    // Whether the flag is on; an undeclared, unset flag is off.
    virtual bool isFlagSet(const char *key) = 0;
    virtual ~FlagRegistry();
};
