#pragma once

#include "ClassTable.h"

// The classes WMI answers here: scripted rows where the seam set them,
// otherwise the machine's own, read only when asked for.
class ClassCatalog
{
public:
    // Fills the class's name and property names, and its rows when
    // `withRows`; false for a class that does not exist.
    static bool load(const std::wstring &className, bool withRows, ClassTable *table);
};
