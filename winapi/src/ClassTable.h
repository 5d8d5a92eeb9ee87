#pragma once

#include "TextFold.h"

#include <winapi/WinapiSeam.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// One instance's values, one per property of its class, in column order.
using Values = std::vector<winapi_seam::Value>;

// One WMI class as a table: its property names in the class's order and its
// instances, each with one value per property.
struct ClassTable
{
    std::wstring className;
    std::vector<std::wstring> columns;
    std::vector<Values> rows;
    // The rows by their Index, in row order, when it holds only 32-bit
    // integers and NULLs. Made for scripted tables only, which serve many
    // queries (the address list asks one per adapter), so that `Index = n`
    // needs no pass over every row.
    std::unordered_map<long long, std::vector<std::size_t>> rowsByIndex;
    bool indexed = false;

    // The class's properties and its rows, each row's values put in column
    // order. Properties the rows bring and the columns lack follow the
    // columns, in the order the rows name them; properties a row lacks are
    // NULL.
    static std::shared_ptr<const ClassTable> make(const std::wstring &className,
                                                  std::vector<std::wstring> columns,
                                                  const std::vector<winapi_seam::Row> &rows,
                                                  bool indexed = false);

    // The column of a property name, found case-insensitively; -1 if none.
    int columnIndex(const std::wstring &name) const
    {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (TextFold::equal(columns[i], name))
                return static_cast<int>(i);
        }
        return -1;
    }
};
