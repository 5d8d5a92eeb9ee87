#pragma once

#include <string>

// Case-insensitive text handling as WMI applies it to keywords, names and
// string comparisons.
class TextFold
{
public:
    static wchar_t fold(wchar_t c);
    static std::wstring fold(const std::wstring &text);
    static bool equal(const std::wstring &a, const std::wstring &b);
    // <0, 0, >0 like wcscmp, on the folded texts.
    static int compare(const std::wstring &a, const std::wstring &b);
};
