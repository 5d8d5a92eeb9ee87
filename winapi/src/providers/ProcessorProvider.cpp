#include "ProcessorProvider.h"

#include "SysfsReader.h"

#include <QString>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <sstream>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

using winapi_seam::Row;
using winapi_seam::Value;

namespace {

struct Package
{
    std::string name;
    std::string vendor;
    int logical = 0;
    int cores = 0;
    std::set<std::string> coreIds;
    int megahertz = -1;
};

std::string trimmed(const std::string &text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// One block of /proc/cpuinfo per logical processor, grouped by package.
std::map<int, Package> readPackages()
{
    std::map<int, Package> packages;
    std::string content;
    if (!SysfsReader::readWhole("/proc/cpuinfo", &content))
        return packages;
    std::istringstream lines(content + "\n\n");
    std::map<std::string, std::string> block;
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t colon = line.find(':');
        if (colon != std::string::npos) {
            block[trimmed(line.substr(0, colon))] = trimmed(line.substr(colon + 1));
            continue;
        }
        if (trimmed(line).empty() && block.count("processor")) {
            const int id = block.count("physical id")
                    ? QString::fromStdString(block["physical id"]).toInt()
                    : 0;
            Package &package = packages[id];
            ++package.logical;
            if (package.name.empty())
                package.name = block["model name"];
            if (package.vendor.empty())
                package.vendor = block["vendor_id"];
            if (block.count("cpu cores"))
                package.cores = QString::fromStdString(block["cpu cores"]).toInt();
            if (block.count("core id"))
                package.coreIds.insert(block["core id"]);
            if (block.count("cpu MHz") && package.megahertz < 0)
                package.megahertz =
                        static_cast<int>(QString::fromStdString(block["cpu MHz"]).toDouble());
        }
        if (trimmed(line).empty())
            block.clear();
    }
    return packages;
}

// The processor's brand string from CPUID leaves 0x80000002-4, as Windows
// shows it; empty where there is no CPUID or no brand string.
std::string brandString()
{
#if defined(__i386__) || defined(__x86_64__)
    if (__get_cpuid_max(0x80000000, nullptr) < 0x80000004)
        return std::string();
    unsigned int words[12] = {};
    for (unsigned int leaf = 0; leaf < 3; ++leaf) {
        unsigned int *four = words + 4 * leaf;
        __get_cpuid(0x80000002 + leaf, &four[0], &four[1], &four[2], &four[3]);
    }
    char text[sizeof words + 1] = {};
    std::memcpy(text, words, sizeof words);
    return trimmed(text);
#else
    return std::string();
#endif
}

Value textOrNull(const std::string &text)
{
    return text.empty() ? Value::null() : Value::text(SysfsReader::widen(text));
}

} // namespace

std::wstring ProcessorProvider::processorId()
{
#if defined(__i386__) || defined(__x86_64__)
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx))
        return std::wstring();
    wchar_t text[17];
    std::swprintf(text, 17, L"%08X%08X", edx, eax);
    return text;
#else
    return std::wstring();
#endif
}

std::vector<std::wstring> ProcessorProvider::columns()
{
    return {L"Caption",
            L"DeviceID",
            L"Manufacturer",
            L"MaxClockSpeed",
            L"Name",
            L"NumberOfCores",
            L"NumberOfLogicalProcessors",
            L"ProcessorId",
            L"SocketDesignation"};
}

std::vector<Row> ProcessorProvider::rows()
{
    std::vector<Row> rows;
    const std::wstring id = processorId();
    const std::string brand = brandString();
    int number = 0;
    for (auto &entry : readPackages()) {
        Package &package = entry.second;
        if (!brand.empty())
            package.name = brand;
        int cores = package.cores;
        if (cores <= 0)
            cores = package.coreIds.empty() ? package.logical : int(package.coreIds.size());
        const std::wstring deviceId = L"CPU" + std::to_wstring(number);
        rows.push_back({{L"Caption", textOrNull(package.name)},
                        {L"DeviceID", Value::text(deviceId)},
                        {L"Manufacturer", textOrNull(package.vendor)},
                        {L"MaxClockSpeed",
                         package.megahertz >= 0 ? Value::int32(package.megahertz) : Value::null()},
                        {L"Name", textOrNull(package.name)},
                        {L"NumberOfCores", Value::int32(cores)},
                        {L"NumberOfLogicalProcessors", Value::int32(package.logical)},
                        {L"ProcessorId", id.empty() ? Value::null() : Value::text(id)},
                        {L"SocketDesignation", Value::text(L"CPU " + std::to_wstring(number))}});
        ++number;
    }
    return rows;
}
