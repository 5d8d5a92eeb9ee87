#pragma once

#include <string>
#include <string_view>

// Case-insensitive text handling as WMI applies it to keywords, names and
// string comparisons.
class TextFold
{
public:
    // Names and keywords are ASCII: they are spared the Unicode tables.
    static wchar_t fold(wchar_t c)
    {
        return c >= 0 && c < 0x80 ? ((c >= L'A' && c <= L'Z') ? wchar_t(c + 32) : c) : foldOther(c);
    }
    static std::wstring fold(const std::wstring &text);
    // Views, so that comparing with a keyword literal allocates nothing.
    static bool equal(std::wstring_view a, std::wstring_view b)
    {
        return a.size() == b.size() && compare(a, b) == 0;
    }
    // <0, 0, >0 like wcscmp, on the folded texts.
    static int compare(std::wstring_view a, std::wstring_view b);

private:
    static wchar_t foldOther(wchar_t c);
};
