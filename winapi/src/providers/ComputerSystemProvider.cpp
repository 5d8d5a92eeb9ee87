#include "ComputerSystemProvider.h"

#include "SysfsReader.h"
#include "TextFold.h"

#include <QString>

#include <sys/sysinfo.h>
#include <unistd.h>

using winapi_seam::Row;
using winapi_seam::Value;

namespace {

Value dmi(const char *field)
{
    std::string text;
    if (!SysfsReader::readLine(std::string("/sys/class/dmi/id/") + field, &text))
        return Value::null();
    return Value::text(SysfsReader::widen(text));
}

// The DNS domain of the host name, else the NIS domain; a machine in
// neither is in the workgroup, as Windows says.
std::wstring domainName(bool *partOfDomain)
{
    const std::wstring host = ComputerSystemProvider::hostName();
    const std::size_t dot = host.find(L'.');
    *partOfDomain = true;
    if (dot != std::wstring::npos && dot + 1 < host.size())
        return host.substr(dot + 1);
    char buffer[256] = {};
    if (::getdomainname(buffer, sizeof buffer - 1) == 0 && buffer[0] &&
        std::string(buffer) != "(none)")
        return SysfsReader::widen(buffer);
    *partOfDomain = false;
    return L"WORKGROUP";
}

} // namespace

std::wstring ComputerSystemProvider::hostName()
{
    char buffer[256] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0)
        return std::wstring();
    return SysfsReader::widen(buffer);
}

std::wstring ComputerSystemProvider::netbiosName()
{
    const std::wstring host = hostName();
    std::wstring name = host.substr(0, host.find(L'.')).substr(0, 15);
    return QString::fromStdWString(name).toUpper().toStdWString();
}

std::vector<std::wstring> ComputerSystemProvider::columns()
{
    return {L"Caption",
            L"DNSHostName",
            L"Domain",
            L"Manufacturer",
            L"Model",
            L"Name",
            L"NumberOfLogicalProcessors",
            L"PartOfDomain",
            L"TotalPhysicalMemory"};
}

std::vector<Row> ComputerSystemProvider::rows()
{
    bool partOfDomain = false;
    const std::wstring domain = domainName(&partOfDomain);
    struct sysinfo info = {};
    Value memory = Value::null();
    if (::sysinfo(&info) == 0) {
        const unsigned long long bytes =
                static_cast<unsigned long long>(info.totalram) * info.mem_unit;
        memory = Value::text(std::to_wstring(bytes));
    }
    const long processors = ::sysconf(_SC_NPROCESSORS_ONLN);
    const std::wstring host = hostName();
    return {{{L"Caption", Value::text(netbiosName())},
             {L"DNSHostName", Value::text(host.substr(0, host.find(L'.')))},
             {L"Domain", Value::text(domain)},
             {L"Manufacturer", dmi("sys_vendor")},
             {L"Model", dmi("product_name")},
             {L"Name", Value::text(netbiosName())},
             {L"NumberOfLogicalProcessors",
              processors > 0 ? Value::int32(int(processors)) : Value::null()},
             {L"PartOfDomain", Value::boolean(partOfDomain)},
             {L"TotalPhysicalMemory", memory}}};
}
