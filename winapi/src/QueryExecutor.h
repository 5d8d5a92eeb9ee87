#pragma once

#include "ClassTable.h"
#include "WqlQuery.h"

#include <winapi/WinTypes.h>

// Runs a WQL query against the class catalogue: the rows that meet the
// condition, in the class's row order, each holding the selected properties
// in the class's order. One pass over the class's rows; for `Index = n`, a
// scripted table's rows with that Index only, and the machine's one
// instance where its class can read it alone.
class QueryExecutor
{
public:
    // WBEM_E_INVALID_QUERY for malformed text or an unknown property,
    // WBEM_E_INVALID_CLASS for an unknown class.
    static HRESULT run(const std::wstring &wql, ClassTable *result);
    // For a query already parsed; `unknownClass` is the answer when its
    // class does not exist.
    static HRESULT run(WqlQuery &query, HRESULT unknownClass, ClassTable *result);

private:
    static bool resolve(WqlCondition &condition, const ClassTable &table);
};
