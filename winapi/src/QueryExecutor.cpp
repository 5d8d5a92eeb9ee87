#include "QueryExecutor.h"

#include "ClassCatalog.h"
#include "WqlEvaluator.h"
#include "WqlParser.h"

#include <winapi/WbemCli.h>

#include <algorithm>

namespace {

bool isEquality(const WqlCondition &condition)
{
    return condition.type == WqlCondition::Type::Compare && condition.op == WqlCondition::Op::Equal;
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
    const ClassCatalog::Table definition = ClassCatalog::find(query.className);
    if (!definition)
        return unknownClass;
    const std::vector<std::wstring> &columns = definition->table().columns;
    std::vector<bool> selected(columns.size(), query.selectAll);
    for (const std::wstring &property : query.properties) {
        const int column = definition->table().columnIndex(property);
        if (column < 0)
            return WBEM_E_INVALID_QUERY;
        selected[static_cast<std::size_t>(column)] = true;
    }
    if (query.where && !resolve(*query.where, definition->table()))
        return WBEM_E_INVALID_QUERY;

    const ClassCatalog::Table source =
            definition->hasRows() ? definition : ClassCatalog::machineRows(query.className);
    // The machine's rows come under the definition's columns.
    if (!source || source->table().columns.size() != columns.size())
        return WBEM_E_FAILED;
    const ClassTable &table = source->table();
    result->className = table.className;
    result->columns.clear();
    result->rows.clear();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (selected[i])
            result->columns.push_back(columns[i]);
    }
    const auto take = [&query, &selected, result](const std::vector<winapi_seam::Value> &row) {
        if (query.where && !WqlEvaluator::matches(*query.where, row))
            return;
        std::vector<winapi_seam::Value> projected;
        projected.reserve(result->columns.size());
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (selected[i])
                projected.push_back(row[i]);
        }
        result->rows.push_back(std::move(projected));
    };
    std::vector<std::size_t> candidates;
    if (query.where && lookUp(*query.where, *source, &candidates)) {
        for (const std::size_t position : candidates)
            take(table.rows[position]);
    } else {
        for (const auto &row : table.rows)
            take(row);
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

bool QueryExecutor::lookUp(const WqlCondition &where, const PreparedTable &table,
                           std::vector<std::size_t> *candidates)
{
    // Only rows meeting `Property = literal` can meet the condition when it
    // is the condition or one operand of its AND; the fewest such rows are
    // the candidates, each still checked against the whole condition.
    if (isEquality(where)) {
        *candidates = table.equalRows(where.column, where.literal);
        return true;
    }
    if (where.type != WqlCondition::Type::And)
        return false;
    bool narrowed = false;
    for (const auto &operand : where.operands) {
        if (!isEquality(*operand))
            continue;
        std::vector<std::size_t> rows = table.equalRows(operand->column, operand->literal);
        if (!narrowed || rows.size() < candidates->size())
            *candidates = std::move(rows);
        narrowed = true;
        if (candidates->empty())
            break;
    }
    return narrowed;
}
