#include "ClassCatalog.h"

#include "SeamState.h"
#include "TextFold.h"
#include "providers/IdentityProvider.h"
#include "providers/NetworkAdapterProvider.h"

#include <utility>

using winapi_seam::Row;

namespace {

// The classes read from this machine: each one's name and properties, made
// with the library (they never change), and its rows functions, which give
// the values in column order, read afresh for every query.
struct BuiltinClass
{
    ClassCatalog::Table definition;
    std::vector<Values> (*rows)();
    // Reads only the instance with the given Index, where the class can.
    std::vector<Values> (*rowsOfIndex)(int index) = nullptr;
};

ClassCatalog::Table define(const wchar_t *name, std::vector<std::wstring> columns)
{
    return ClassTable::make(name, std::move(columns), {});
}

const BuiltinClass kBuiltins[] = {
        {define(L"Win32_NetworkAdapter",
                {L"Index", L"InterfaceIndex", L"MACAddress", L"Name", L"NetConnectionID",
                 L"NetConnectionStatus", L"PNPDeviceID"}),
         &NetworkAdapterProvider::adapterRows},
        {define(L"Win32_NetworkAdapterConfiguration",
                {L"Description", L"Index", L"InterfaceIndex", L"IPAddress", L"IPSubnet",
                 L"MACAddress"}),
         [] { return NetworkAdapterProvider::configurationRows(0); },
         &NetworkAdapterProvider::configurationRows},
        {define(L"Win32_BIOS", {L"SerialNumber"}), &IdentityProvider::biosRows},
        {define(L"Win32_BaseBoard", {L"SerialNumber"}), &IdentityProvider::baseBoardRows},
        {define(L"Win32_Processor", {L"Name", L"ProcessorId"}), &IdentityProvider::processorRows},
        {define(L"Win32_ComputerSystem", {L"Name"}), &IdentityProvider::computerSystemRows},
        {define(L"Win32_TimeZone", {L"Caption"}), &IdentityProvider::timeZoneRows},
};

const BuiltinClass *builtin(const std::wstring &className)
{
    for (const BuiltinClass &candidate : kBuiltins) {
        if (TextFold::equal(className, candidate.definition->className))
            return &candidate;
    }
    return nullptr;
}

} // namespace

ClassCatalog::Table ClassCatalog::find(const std::wstring &className, bool *scripted)
{
    Table table = SeamState::script(className);
    *scripted = table != nullptr;
    if (table)
        return table;
    const BuiltinClass *known = builtin(className);
    return known ? known->definition : nullptr;
}

std::vector<Values> ClassCatalog::machineRows(const std::wstring &className, int index)
{
    const BuiltinClass *known = builtin(className);
    if (known && known->rowsOfIndex && index > 0)
        return known->rowsOfIndex(index);
    return known ? known->rows() : std::vector<Values>();
}

ClassCatalog::Table ClassCatalog::script(const std::wstring &className, const std::vector<Row> &rows)
{
    // A known class keeps its own name and properties; scripted rows may
    // bring properties of their own.
    const BuiltinClass *known = builtin(className);
    return ClassTable::make(known ? known->definition->className : className,
                            known ? known->definition->columns : std::vector<std::wstring>(), rows,
                            true);
}
