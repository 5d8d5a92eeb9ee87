#include "PreparedTable.h"

using winapi_seam::Row;
using winapi_seam::Value;

PreparedTable::PreparedTable(ClassTable table, bool hasRows)
    : m_table(std::move(table))
    , m_hasRows(hasRows)
    , m_indexes(m_table.columns.size())
{ }

std::shared_ptr<const PreparedTable> PreparedTable::make(const std::wstring &className,
                                                         std::vector<std::wstring> columns,
                                                         const std::vector<Row> &rows,
                                                         bool withRows)
{
    ClassTable table;
    table.className = className;
    table.columns = std::move(columns);
    for (const Row &row : rows) {
        for (const auto &property : row) {
            if (table.columnIndex(property.first) < 0)
                table.columns.push_back(property.first);
        }
    }
    if (withRows) {
        table.rows.reserve(rows.size());
        for (const Row &row : rows) {
            std::vector<Value> values(table.columns.size());
            for (const auto &property : row) {
                const int column = table.columnIndex(property.first);
                if (column >= 0)
                    values[static_cast<std::size_t>(column)] = property.second;
            }
            table.rows.push_back(std::move(values));
        }
    }
    return std::make_shared<const PreparedTable>(std::move(table), withRows);
}

std::vector<std::size_t> PreparedTable::equalRows(int column, const WqlLiteral &literal) const
{
    const auto at = static_cast<std::size_t>(column);
    const ColumnIndex *index = nullptr;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_indexes.at(at))
            m_indexes[at] = std::make_unique<const ColumnIndex>(m_table.rows, at);
        index = m_indexes[at].get();
    }
    // An index is never replaced or dropped while the table lives.
    return index->equalRows(literal);
}
