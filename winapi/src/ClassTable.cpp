#include "ClassTable.h"

using winapi_seam::Row;
using winapi_seam::Value;

std::shared_ptr<const ClassTable> ClassTable::make(const std::wstring &className,
                                                   std::vector<std::wstring> columns,
                                                   const std::vector<Row> &rows, bool indexed)
{
    auto table = std::make_shared<ClassTable>();
    table->className = className;
    table->columns = std::move(columns);
    for (const Row &row : rows) {
        for (const auto &property : row) {
            if (table->columnIndex(property.first) < 0)
                table->columns.push_back(property.first);
        }
    }
    table->rows.reserve(rows.size());
    for (const Row &row : rows) {
        Values values(table->columns.size());
        for (const auto &property : row)
            values[static_cast<std::size_t>(table->columnIndex(property.first))] = property.second;
        table->rows.push_back(std::move(values));
    }
    const int column = table->columnIndex(L"Index");
    table->indexed = indexed && column >= 0;
    for (std::size_t row = 0; table->indexed && row < table->rows.size(); ++row) {
        const Value &value = table->rows[row][std::size_t(column)];
        table->indexed = value.isNull() || value.kind() == Value::Kind::Int32;
        if (value.kind() == Value::Kind::Int32)
            table->rowsByIndex[value.intValue()].push_back(row);
    }
    return table;
}
