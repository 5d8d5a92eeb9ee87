#include "ClassCatalog.h"

#include "SeamState.h"
#include "TextFold.h"
#include "providers/ComputerSystemProvider.h"
#include "providers/DmiProvider.h"
#include "providers/NetworkAdapterProvider.h"
#include "providers/NetworkClassCache.h"
#include "providers/ProcessorProvider.h"
#include "providers/TimeZoneProvider.h"

using winapi_seam::Row;

namespace {

struct BuiltinClass
{
    const wchar_t *name;
    std::vector<std::wstring> (*columns)();
    std::vector<Row> (*rows)(); // read afresh for every query
    ClassCatalog::Table (*current)(); // or kept while the machine is unchanged
};

const BuiltinClass kBuiltins[] = {
        {L"Win32_NetworkAdapter", &NetworkAdapterProvider::adapterColumns, nullptr,
         &NetworkClassCache::adapters},
        {L"Win32_NetworkAdapterConfiguration", &NetworkAdapterProvider::configurationColumns,
         nullptr, &NetworkClassCache::configurations},
        {L"Win32_BIOS", &DmiProvider::biosColumns, &DmiProvider::biosRows, nullptr},
        {L"Win32_BaseBoard", &DmiProvider::baseBoardColumns, &DmiProvider::baseBoardRows, nullptr},
        {L"Win32_Processor", &ProcessorProvider::columns, &ProcessorProvider::rows, nullptr},
        {L"Win32_ComputerSystem", &ComputerSystemProvider::columns, &ComputerSystemProvider::rows,
         nullptr},
        {L"Win32_TimeZone", &TimeZoneProvider::columns, &TimeZoneProvider::rows, nullptr},
};

const BuiltinClass *builtin(const std::wstring &className)
{
    for (const BuiltinClass &candidate : kBuiltins) {
        if (TextFold::equal(className, candidate.name))
            return &candidate;
    }
    return nullptr;
}

} // namespace

ClassCatalog::Table ClassCatalog::find(const std::wstring &className)
{
    if (Table scripted = SeamState::script(className))
        return scripted;
    const BuiltinClass *known = builtin(className);
    if (!known)
        return nullptr;
    return PreparedTable::make(known->name, known->columns(), {}, false);
}

ClassCatalog::Table ClassCatalog::machineRows(const std::wstring &className)
{
    const BuiltinClass *known = builtin(className);
    if (!known)
        return nullptr;
    if (known->current)
        return known->current();
    return PreparedTable::make(known->name, known->columns(), known->rows());
}

ClassCatalog::Table ClassCatalog::prepareScript(const std::wstring &className,
                                                const std::vector<Row> &rows)
{
    // A known class keeps its own name and properties; scripted rows may
    // bring properties of their own.
    const BuiltinClass *known = builtin(className);
    return PreparedTable::make(known ? std::wstring(known->name) : className,
                               known ? known->columns() : std::vector<std::wstring>(), rows);
}
