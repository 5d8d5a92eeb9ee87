#include "ClassCatalog.h"

#include "SeamState.h"
#include "TextFold.h"
#include "providers/ComputerSystemProvider.h"
#include "providers/DmiProvider.h"
#include "providers/NetworkAdapterProvider.h"
#include "providers/ProcessorProvider.h"
#include "providers/TimeZoneProvider.h"

using winapi_seam::Row;
using winapi_seam::Value;

namespace {

struct BuiltinClass
{
    const wchar_t *name;
    std::vector<std::wstring> (*columns)();
    std::vector<Row> (*rows)();
};

const BuiltinClass kBuiltins[] = {
        {L"Win32_NetworkAdapter", &NetworkAdapterProvider::adapterColumns,
         &NetworkAdapterProvider::adapterRows},
        {L"Win32_NetworkAdapterConfiguration", &NetworkAdapterProvider::configurationColumns,
         &NetworkAdapterProvider::configurationRows},
        {L"Win32_BIOS", &DmiProvider::biosColumns, &DmiProvider::biosRows},
        {L"Win32_BaseBoard", &DmiProvider::baseBoardColumns, &DmiProvider::baseBoardRows},
        {L"Win32_Processor", &ProcessorProvider::columns, &ProcessorProvider::rows},
        {L"Win32_ComputerSystem", &ComputerSystemProvider::columns, &ComputerSystemProvider::rows},
        {L"Win32_TimeZone", &TimeZoneProvider::columns, &TimeZoneProvider::rows},
};

const BuiltinClass *builtin(const std::wstring &className)
{
    for (const BuiltinClass &candidate : kBuiltins) {
        if (TextFold::equal(className, candidate.name))
            return &candidate;
    }
    return nullptr;
}

// Puts each row's values into the table's column order; properties the row
// lacks stay NULL.
void addRows(const std::vector<Row> &rows, ClassTable *table)
{
    for (const Row &row : rows) {
        std::vector<Value> values(table->columns.size());
        for (const auto &property : row) {
            const int column = table->columnIndex(property.first);
            if (column >= 0)
                values[static_cast<std::size_t>(column)] = property.second;
        }
        table->rows.push_back(std::move(values));
    }
}

} // namespace

bool ClassCatalog::load(const std::wstring &className, bool withRows, ClassTable *table)
{
    const BuiltinClass *known = builtin(className);
    std::wstring scriptedName;
    std::vector<Row> scripted;
    const bool isScripted = SeamState::script(className, &scriptedName, &scripted);
    if (!known && !isScripted)
        return false;

    table->className = known ? known->name : scriptedName;
    table->columns = known ? known->columns() : std::vector<std::wstring>();
    table->rows.clear();
    // Scripted rows may bring properties of their own; they follow the
    // class's, in the order the rows name them.
    for (const Row &row : scripted) {
        for (const auto &property : row) {
            if (table->columnIndex(property.first) < 0)
                table->columns.push_back(property.first);
        }
    }
    if (withRows)
        addRows(isScripted ? scripted : known->rows(), table);
    return true;
}
