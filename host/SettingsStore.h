#pragma once

#include "host/OrvaneGlobal.h"

#include <string>

// A module's settings: byte-string values under byte-string keys. Numbers
// are kept as decimal text.
class ORVANE_EXPORT SettingsStore
{
public:
    // Stores `value` under `key`; the next value(key, ...) answers it.
    virtual bool setValue(const std::string &key, const std::string &value) = 0;
    // The text stored under `key`, or `defaultValue` when it holds none.
    virtual std::string value(const std::string &key, const char *defaultValue) const = 0;
    virtual std::string value(const std::string &key, const std::string &defaultValue) const = 0;
    // Forgets `key`: value(key, d) answers d again. False when it held nothing.
    virtual bool remove(const std::string &key) = 0;
    virtual ~SettingsStore();
};
