#pragma once

#include "WqlQuery.h"

#include <winapi/WinapiSeam.h>

#include <vector>

// Decides whether a row meets a WHERE condition whose properties have been
// resolved to columns. Comparisons with NULL, arrays, and values that cannot
// be converted to each other are false. Texts compare case-insensitively; a
// text compared with a number is compared as a number when it is one
// (64-bit properties travel as text).
class WqlEvaluator
{
public:
    static bool matches(const WqlCondition &condition, const std::vector<winapi_seam::Value> &row);
    // A LIKE pattern: % any run of characters, _ one character. False for
    // one with a character set ([...]), which is not supported.
    static bool isPattern(const std::wstring &pattern);

private:
    static bool compare(const winapi_seam::Value &value, const WqlCondition &condition);
    static bool likeValue(const winapi_seam::Value &value, const std::wstring &pattern);
    static bool like(const wchar_t *text, const wchar_t *pattern);
};
