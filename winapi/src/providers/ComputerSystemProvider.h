#pragma once

#include "ClassTable.h"

// Win32_ComputerSystem: the machine's names and memory.
class ComputerSystemProvider
{
public:
    static std::vector<std::wstring> columns();
    static std::vector<Values> rows();
    static std::wstring hostName();
    // The host name's first label in upper case, at most 15 characters.
    static std::wstring netbiosName();
};
