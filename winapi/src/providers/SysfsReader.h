#pragma once

#include <string>

// Small reads of the kernel's text files under /sys and /proc.
class SysfsReader
{
public:
    // The whole file; false when it cannot be read.
    static bool readWhole(const std::string &path, std::string *text);
    static std::wstring widen(const std::string &text);
};
