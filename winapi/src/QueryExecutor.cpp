#include "QueryExecutor.h"

#include "ClassCatalog.h"
#include "WqlEvaluator.h"
#include "WqlParser.h"

#include <winapi/WbemCli.h>

#include <algorithm>
#include <climits>

namespace {

// The `Column = n` that a row must meet for `where` to hold: `where` itself
// or an operand of its AND, on a column `wanted` accepts; null if none.
template<class Wanted>
const WqlCondition *integerKey(const WqlCondition *where, Wanted wanted)
{
    const auto isKey = [&wanted](const WqlCondition &c) {
        return c.type == WqlCondition::Type::Compare && c.op == WqlCondition::Op::Equal &&
                c.literal.kind == WqlLiteral::Kind::Integer && wanted(c.column);
    };
    if (!where || isKey(*where))
        return where;
    for (const auto &operand : where->operands) {
        if (where->type == WqlCondition::Type::And && isKey(*operand))
            return operand.get();
    }
    return nullptr;
}

// The only rows that can meet the query, when the table keeps an integer
// column's rows by number; null: scan them all.
const std::vector<std::size_t> *candidates(const WqlCondition *where, const ClassTable &table)
{
    static const std::vector<std::size_t> none;
    const WqlCondition *key =
            integerKey(where, [&table](int column) { return table.integerColumns.count(column); });
    if (!key)
        return nullptr;
    const auto &rowsByNumber = table.integerColumns.at(key->column);
    const auto rows = rowsByNumber.find(key->literal.number);
    return rows == rowsByNumber.end() ? &none : &rows->second;
}

} // namespace

HRESULT QueryExecutor::run(const std::wstring &wql, ClassTable *result)
{
    WqlQuery query;
    if (!WqlParser::parse(wql, &query))
        return WBEM_E_INVALID_QUERY;
    return run(query, WBEM_E_INVALID_CLASS, result);
}

HRESULT QueryExecutor::run(WqlQuery &query, HRESULT unknownClass, ClassTable *result)
{
    // Check the query against the class before reading any of its rows.
    bool scripted = false;
    const ClassCatalog::Table definition = ClassCatalog::find(query.className, &scripted);
    if (!definition)
        return unknownClass;
    const std::vector<std::wstring> &columns = definition->columns;
    std::vector<bool> selected(columns.size(), query.selectAll);
    for (const std::wstring &property : query.properties) {
        const int column = definition->columnIndex(property);
        if (column < 0)
            return WBEM_E_INVALID_QUERY;
        selected[static_cast<std::size_t>(column)] = true;
    }
    if (query.where && !resolve(*query.where, *definition))
        return WBEM_E_INVALID_QUERY;

    // The machine's rows are this query's own: matches move out of them.
    // `Index = n` (the address list asks it once per adapter) reads one
    // instance where the class can.
    const int indexColumn = definition->columnIndex(L"Index");
    const WqlCondition *key = integerKey(query.where.get(), [indexColumn](int column) {
        return column == indexColumn;
    });
    const int index = key && key->literal.number <= INT_MAX ? int(key->literal.number) : 0;
    std::vector<Values> read = scripted ? std::vector<Values>()
                                        : ClassCatalog::machineRows(definition->className, index);
    const std::vector<Values> &rows = scripted ? definition->rows : read;
    result->className = definition->className;
    result->columns.clear();
    result->rows.clear();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (selected[i])
            result->columns.push_back(columns[i]);
    }
    const std::vector<std::size_t> *only = candidates(query.where.get(), *definition);
    for (std::size_t n = 0; n < (only ? only->size() : rows.size()); ++n) {
        const std::size_t at = only ? (*only)[n] : n;
        if (query.where && !WqlEvaluator::matches(*query.where, rows[at]))
            continue;
        Values projected;
        projected.reserve(result->columns.size());
        for (std::size_t i = 0; i < rows[at].size(); ++i) {
            if (selected[i] && scripted)
                projected.push_back(rows[at][i]);
            else if (selected[i])
                projected.push_back(std::move(read[at][i]));
        }
        result->rows.push_back(std::move(projected));
    }
    return WBEM_S_NO_ERROR;
}

bool QueryExecutor::resolve(WqlCondition &condition, const ClassTable &table)
{
    if (!condition.operands.empty()) {
        return std::all_of(condition.operands.begin(), condition.operands.end(),
                           [&table](const auto &operand) { return resolve(*operand, table); });
    }
    condition.column = table.columnIndex(condition.property);
    return condition.column >= 0;
}
