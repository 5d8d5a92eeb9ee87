#include "QueryExecutor.h"

#include "ClassCatalog.h"
#include "WqlEvaluator.h"
#include "WqlParser.h"

#include <winapi/WbemCli.h>

#include <algorithm>
#include <climits>

namespace {

const std::vector<std::size_t> kNoRows;

// The `Index = n` that a row must meet for `where` to hold: `where` itself
// or an operand of its AND; null if none.
const WqlCondition *indexKey(const WqlCondition *where, int indexColumn)
{
    const auto isKey = [indexColumn](const WqlCondition &c) {
        return c.type == WqlCondition::Type::Compare && c.op == WqlCondition::Op::Equal &&
                c.literal.kind == WqlLiteral::Kind::Integer && c.column == indexColumn;
    };
    if (!where || isKey(*where))
        return where;
    for (const auto &operand : where->operands) {
        if (where->type == WqlCondition::Type::And && isKey(*operand))
            return operand.get();
    }
    return nullptr;
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
    const WqlCondition *key = indexKey(query.where.get(), definition->columnIndex(L"Index"));
    const int index = key && key->literal.number <= INT_MAX ? int(key->literal.number) : 0;
    std::vector<Values> read = scripted ? std::vector<Values>()
                                        : ClassCatalog::machineRows(definition->className, index);
    const std::vector<Values> &rows = scripted ? definition->rows : read;
    result->className = definition->className;
    result->columns.clear();
    result->columns.reserve(columns.size());
    result->rows.clear();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (selected[i])
            result->columns.push_back(columns[i]);
    }
    // A scripted table's rows with that Index only, if it keeps them so.
    const std::vector<std::size_t> *only = nullptr;
    if (definition->indexed && key) {
        const auto keyed = definition->rowsByIndex.find(key->literal.number);
        only = keyed == definition->rowsByIndex.end() ? &kNoRows : &keyed->second;
    }
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
