#include "DmiProvider.h"

#include "SysfsReader.h"

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

std::vector<Values> DmiProvider::biosRows()
{
    return {{dmi("bios_vendor"), dmi("bios_date"), dmi("product_serial"), dmi("bios_version")}};
}

std::vector<std::wstring> DmiProvider::baseBoardColumns()
{
    return {L"Manufacturer", L"Product", L"SerialNumber", L"Version"};
}

std::vector<Values> DmiProvider::baseBoardRows()
{
    return {{dmi("board_vendor"), dmi("board_name"), dmi("board_serial"), dmi("board_version")}};
}
