#include "TextFold.h"

#include <QChar>

wchar_t TextFold::foldOther(wchar_t c)
{
    // Characters beyond the BMP have no case worth folding here.
    if (c < 0 || static_cast<unsigned long>(c) > 0xFFFF)
        return c;
    return static_cast<wchar_t>(QChar(static_cast<char16_t>(c)).toCaseFolded().unicode());
}

std::wstring TextFold::fold(const std::wstring &text)
{
    std::wstring folded(text);
    for (wchar_t &c : folded)
        c = fold(c);
    return folded;
}

int TextFold::compare(std::wstring_view a, std::wstring_view b)
{
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const wchar_t x = fold(a[i]);
        const wchar_t y = fold(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}
