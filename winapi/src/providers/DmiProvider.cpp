#include "DmiProvider.h"

#include "SysfsReader.h"

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

} // namespace

std::vector<std::wstring> DmiProvider::biosColumns()
{
    return {L"Manufacturer", L"ReleaseDate", L"SerialNumber", L"SMBIOSBIOSVersion"};
}

std::vector<Row> DmiProvider::biosRows()
{
    return {{{L"Manufacturer", dmi("bios_vendor")},
             {L"ReleaseDate", dmi("bios_date")},
             {L"SerialNumber", dmi("product_serial")},
             {L"SMBIOSBIOSVersion", dmi("bios_version")}}};
}

std::vector<std::wstring> DmiProvider::baseBoardColumns()
{
    return {L"Manufacturer", L"Product", L"SerialNumber", L"Version"};
}

std::vector<Row> DmiProvider::baseBoardRows()
{
    return {{{L"Manufacturer", dmi("board_vendor")},
             {L"Product", dmi("board_name")},
             {L"SerialNumber", dmi("board_serial")},
             {L"Version", dmi("board_version")}}};
}
