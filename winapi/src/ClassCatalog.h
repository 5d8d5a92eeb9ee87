#pragma once

#include "ClassTable.h"

#include <memory>
#include <string>
#include <vector>

// The classes WMI answers here: scripted rows where the seam set them,
// otherwise the machine's own, read only when a query asks for them.
class ClassCatalog
{
public:
    using Table = std::shared_ptr<const ClassTable>;

    // A scripted class with its rows, or the definition of a class read
    // from this machine without its rows (see machineRows); null for a
    // class that does not exist. `scripted` tells which.
    static Table find(const std::wstring &className, bool *scripted);
    // The rows of a class read from this machine now, in the columns of
    // its definition. `index` > 0: no row but the one with that Index is
    // asked for, so a class may read that instance alone.
    static std::vector<Values> machineRows(const std::wstring &className, int index = 0);
    // Rows scripted for a class, in the class's column order.
    static Table script(const std::wstring &className, const std::vector<winapi_seam::Row> &rows);
};
