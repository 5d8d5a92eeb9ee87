#pragma once

#include "TextFold.h"

#include <winapi/WinapiSeam.h>

#include <string>
#include <vector>

// One WMI class as a table: its property names in the class's order and its
// instances, each with one value per property.
struct ClassTable
{
    std::wstring className;
    std::vector<std::wstring> columns;
    std::vector<std::vector<winapi_seam::Value>> rows;

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
