#pragma once

#include <string>
#include <string_view>

// Case-insensitive text handling as WMI applies it to keywords, names and
// string comparisons.
class TextFold
{
public:
    static wchar_t fold(wchar_t c);
    static std::wstring fold(const std::wstring &text);
    // Views, so that comparing with a keyword literal allocates nothing.
    static bool equal(std::wstring_view a, std::wstring_view b);
    // <0, 0, >0 like wcscmp, on the folded texts.
    static int compare(std::wstring_view a, std::wstring_view b);
};
