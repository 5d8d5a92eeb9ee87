#pragma once

#include <string>

// Small reads of the kernel's text files under /sys and /proc.
class SysfsReader
{
public:
    // The file's first line without surrounding white space; false when it
    // cannot be read.
    static bool readLine(const std::string &path, std::string *text);
    static bool readWhole(const std::string &path, std::string *text);
    // The canonical path a link leads to, or the empty text.
    static std::string resolve(const std::string &path);
    static std::wstring widen(const std::string &text);
};
