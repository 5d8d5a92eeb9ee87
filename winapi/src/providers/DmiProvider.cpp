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
    return {L"Caption",     L"Description",  L"Manufacturer",      L"Name",
            L"ReleaseDate", L"SerialNumber", L"SMBIOSBIOSVersion", L"Version"};
}

std::vector<Row> DmiProvider::biosRows()
{
    const Value version = dmi("bios_version");
    return {{{L"Caption", version},
             {L"Description", version},
             {L"Manufacturer", dmi("bios_vendor")},
             {L"Name", version},
             {L"ReleaseDate", dmi("bios_date")},
             {L"SerialNumber", dmi("product_serial")},
             {L"SMBIOSBIOSVersion", version},
             {L"Version", version}}};
}

std::vector<std::wstring> DmiProvider::baseBoardColumns()
{
    return {L"Caption", L"Manufacturer", L"Name", L"Product", L"SerialNumber", L"Tag", L"Version"};
}

std::vector<Row> DmiProvider::baseBoardRows()
{
    return {{{L"Caption", Value::text(L"Base Board")},
             {L"Manufacturer", dmi("board_vendor")},
             {L"Name", Value::text(L"Base Board")},
             {L"Product", dmi("board_name")},
             {L"SerialNumber", dmi("board_serial")},
             {L"Tag", Value::text(L"Base Board")},
             {L"Version", dmi("board_version")}}};
}
