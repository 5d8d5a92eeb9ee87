#pragma once

#include <string>

// The digit for a value below 16, upper case as Windows writes hex.
inline wchar_t digit(unsigned long value) { return L"0123456789ABCDEF"[value]; }

// `value` in base 10 or 16 (upper case), zero-padded to at least `width`
// digits. By hand: std::to_wstring, swprintf, inet_ntop and QString::arg
// go through stdio or locale set-up on their first call in a process,
// which cost a first scan more than its kernel reads.
inline std::wstring digits(unsigned long value, unsigned int base, std::size_t width = 1)
{
    std::wstring text;
    for (; value > 0 || text.size() < width; value /= base)
        text.insert(text.begin(), digit(value % base));
    return text;
}
