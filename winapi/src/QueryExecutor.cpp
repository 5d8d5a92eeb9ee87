#include "QueryExecutor.h"

#include "ClassCatalog.h"
#include "WqlEvaluator.h"
#include "WqlParser.h"

#include <winapi/WbemCli.h>

#include <algorithm>

namespace {

// The only rows that can meet `Column = n`, or an AND with it, when the
// table keeps that integer column's rows by number; null: scan them all.
const std::vector<std::size_t> *candidates(const WqlCondition &where, const ClassTable &table)
{
    static const std::vector<std::size_t> none;
    const auto lookUp = [&](const WqlCondition &c) -> const std::vector<std::size_t> * {
        const auto index = table.integerColumns.find(c.column);
        if (c.type != WqlCondition::Type::Compare || c.op != WqlCondition::Op::Equal ||
            c.literal.kind != WqlLiteral::Kind::Integer || index == table.integerColumns.end())
            return nullptr;
        const auto rows = index->second.find(c.literal.number);
        return rows == index->second.end() ? &none : &rows->second;
    };
    const std::vector<std::size_t> *found = lookUp(where);
    for (std::size_t i = 0;
         !found && where.type == WqlCondition::Type::And && i < where.operands.size(); ++i)
        found = lookUp(*where.operands[i]);
    return found;
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
    std::vector<Values> read =
            scripted ? std::vector<Values>() : ClassCatalog::machineRows(definition->className);
    const std::vector<Values> &rows = scripted ? definition->rows : read;
    result->className = definition->className;
    result->columns.clear();
    result->rows.clear();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (selected[i])
            result->columns.push_back(columns[i]);
    }
    const std::vector<std::size_t> *only =
            query.where ? candidates(*query.where, *definition) : nullptr;
    for (std::size_t n = 0; n < (only ? only->size() : rows.size()); ++n) {
        const std::size_t at = only ? (*only)[n] : n;
        if (query.where && !WqlEvaluator::matches(*query.where, rows[at]))
            continue;
        Values projected;
        projected.reserve(result->columns.size());
        for (std::size_t i = 0; i < rows[at].size(); ++i) {
            if (selected[i])
                projected.push_back(scripted ? rows[at][i] : std::move(read[at][i]));
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
