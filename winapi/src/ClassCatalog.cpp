#include "ClassCatalog.h"

#include "SeamState.h"
#include "TextFold.h"
#include "providers/IdentityProvider.h"
#include "providers/NetworkAdapterProvider.h"

#include <array>
#include <iterator>
#include <utility>

using winapi_seam::Row;

namespace {

// The classes read from this machine, with their properties: each rows
// function gives its values in this order, read afresh for every query.
struct BuiltinClass
{
    const wchar_t *name;
    std::vector<std::wstring> columns;
    std::vector<Values> (*rows)();
    // Reads only the instance with the given Index, where the class can.
    std::vector<Values> (*rowsOfIndex)(int index) = nullptr;
};

const BuiltinClass kBuiltins[] = {
        {L"Win32_NetworkAdapter",
         {L"Index", L"InterfaceIndex", L"MACAddress", L"Name", L"NetConnectionID",
          L"NetConnectionStatus", L"PNPDeviceID"},
         &NetworkAdapterProvider::adapterRows},
        {L"Win32_NetworkAdapterConfiguration",
         {L"Description", L"Index", L"InterfaceIndex", L"IPAddress", L"IPSubnet", L"MACAddress"},
         [] { return NetworkAdapterProvider::configurationRows(0); },
         &NetworkAdapterProvider::configurationRows},
        {L"Win32_BIOS", {L"SerialNumber"}, &IdentityProvider::biosRows},
        {L"Win32_BaseBoard", {L"SerialNumber"}, &IdentityProvider::baseBoardRows},
        {L"Win32_Processor", {L"Name", L"ProcessorId"}, &IdentityProvider::processorRows},
        {L"Win32_ComputerSystem", {L"Name"}, &IdentityProvider::computerSystemRows},
        {L"Win32_TimeZone", {L"Caption"}, &IdentityProvider::timeZoneRows},
};

const BuiltinClass *builtin(const std::wstring &className)
{
    for (const BuiltinClass &candidate : kBuiltins) {
        if (TextFold::equal(className, candidate.name))
            return &candidate;
    }
    return nullptr;
}

// A built-in class's definition never changes: made once, when a query
// first names the class (a scan names two of the seven), each in a static
// of its own.
template<std::size_t I>
const ClassCatalog::Table &definition()
{
    static const ClassCatalog::Table table =
            ClassTable::make(kBuiltins[I].name, kBuiltins[I].columns, {});
    return table;
}

template<std::size_t... I>
constexpr auto definitionsOf(std::index_sequence<I...>)
{
    return std::array<const ClassCatalog::Table &(*)(), sizeof...(I)>{&definition<I>...};
}

const auto definitions = definitionsOf(std::make_index_sequence<std::size(kBuiltins)>());

} // namespace

ClassCatalog::Table ClassCatalog::find(const std::wstring &className, bool *scripted)
{
    Table table = SeamState::script(className);
    *scripted = table != nullptr;
    if (table)
        return table;
    const BuiltinClass *known = builtin(className);
    return known ? definitions[std::size_t(known - kBuiltins)]() : nullptr;
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
    return ClassTable::make(known ? std::wstring(known->name) : className,
                            known ? known->columns : std::vector<std::wstring>(), rows, true);
}
