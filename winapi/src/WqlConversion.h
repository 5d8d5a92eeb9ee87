#pragma once

#include <string>

// The conversions a comparison applies to text: shared by the evaluator and
// the column index, so both agree on which rows are equal to a literal.
class WqlConversion
{
public:
    // The whole text as a decimal integer; 64-bit properties travel as text.
    static bool toInteger(const std::wstring &text, long long *number);
    // "TRUE"/"1" as 1, "FALSE"/"0" as 0 (any case).
    static bool toBoolean(const std::wstring &text, long long *flag);
};
