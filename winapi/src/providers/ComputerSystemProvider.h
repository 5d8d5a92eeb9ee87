#pragma once

#include <winapi/WinapiSeam.h>

// Win32_ComputerSystem: the machine's names and memory.
class ComputerSystemProvider
{
public:
    static std::vector<std::wstring> columns();
    static std::vector<winapi_seam::Row> rows();
    static std::wstring hostName();
    // The host name's first label in upper case, at most 15 characters.
    static std::wstring netbiosName();
};
