#include "ComputerSystemProvider.h"

#include "SysfsReader.h"

#include <QString>

#include <sys/sysinfo.h>
#include <unistd.h>

using winapi_seam::Value;

std::wstring ComputerSystemProvider::hostName()
{
    char buffer[256] = {};
    return ::gethostname(buffer, sizeof buffer - 1) == 0 ? SysfsReader::widen(buffer)
                                                         : std::wstring();
}

std::wstring ComputerSystemProvider::netbiosName()
{
    const std::wstring host = hostName();
    return QString::fromStdWString(host.substr(0, host.find(L'.')).substr(0, 15))
            .toUpper()
            .toStdWString();
}

std::vector<std::wstring> ComputerSystemProvider::columns()
{
    return {L"DNSHostName", L"Domain", L"Name", L"NumberOfLogicalProcessors",
            L"TotalPhysicalMemory"};
}

std::vector<Values> ComputerSystemProvider::rows()
{
    // The DNS domain of the host name; a machine without one is in the
    // workgroup, as Windows says.
    const std::wstring host = hostName();
    const std::size_t dot = host.find(L'.');
    struct sysinfo info = {};
    const Value memory = ::sysinfo(&info) == 0
            ? Value::text(std::to_wstring(static_cast<unsigned long long>(info.totalram) *
                                          info.mem_unit))
            : Value::null();
    return {{Value::text(host.substr(0, dot)),
             Value::text(dot + 1 < host.size() ? host.substr(dot + 1) : L"WORKGROUP"),
             Value::text(netbiosName()), Value::int32(int(::sysconf(_SC_NPROCESSORS_ONLN))),
             memory}};
}
