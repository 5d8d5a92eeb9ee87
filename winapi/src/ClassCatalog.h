#pragma once

#include "PreparedTable.h"

#include <memory>
#include <string>
#include <vector>

// The classes WMI answers here: scripted rows where the seam set them,
// otherwise the machine's own, read only when asked for.
class ClassCatalog
{
public:
    using Table = std::shared_ptr<const PreparedTable>;

    // A scripted class with its rows, or the definition of a class read
    // from this machine without its rows (see machineRows); null for a
    // class that does not exist.
    static Table find(const std::wstring &className);
    // The rows of a class read from this machine, under the same columns
    // as its definition.
    static Table machineRows(const std::wstring &className);
    // Rows scripted for a class, prepared once for every later query.
    static Table prepareScript(const std::wstring &className,
                               const std::vector<winapi_seam::Row> &rows);
};
