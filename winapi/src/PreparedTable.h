#pragma once

#include "ClassTable.h"
#include "ColumnIndex.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

// A class's rows put into the class's column order once, to be queried many
// times without copying: scripted rows when they are scripted, the
// machine's while they are still current. Read-only once made; the column
// indexes are built the first time a query needs them.
class PreparedTable
{
public:
    // The class's properties and its rows, each row's values put in column
    // order. Properties the rows bring and the columns lack follow the
    // columns, in the order the rows name them; properties a row lacks are
    // NULL.
    static std::shared_ptr<const PreparedTable> make(const std::wstring &className,
                                                     std::vector<std::wstring> columns,
                                                     const std::vector<winapi_seam::Row> &rows,
                                                     bool withRows = true);

    const ClassTable &table() const { return m_table; }
    // False for a class definition made without reading its rows.
    bool hasRows() const { return m_hasRows; }
    // The positions of the rows whose column equals the literal, ascending,
    // as WqlEvaluator would find them.
    std::vector<std::size_t> equalRows(int column, const WqlLiteral &literal) const;

    explicit PreparedTable(ClassTable table, bool hasRows);

private:
    ClassTable m_table;
    bool m_hasRows = true;
    mutable std::mutex m_mutex; // guards m_indexes
    mutable std::vector<std::unique_ptr<const ColumnIndex>> m_indexes; // by column
};
