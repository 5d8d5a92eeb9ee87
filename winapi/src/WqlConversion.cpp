#include "WqlConversion.h"

#include "TextFold.h"

#include <cerrno>
#include <cwchar>

bool WqlConversion::toInteger(const std::wstring &text, long long *number)
{
    if (text.empty())
        return false;
    wchar_t *end = nullptr;
    errno = 0;
    const long long result = std::wcstoll(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size() || text[0] == L' ')
        return false;
    *number = result;
    return true;
}

bool WqlConversion::toBoolean(const std::wstring &text, long long *flag)
{
    if (TextFold::equal(text, L"TRUE") || text == L"1") {
        *flag = 1;
        return true;
    }
    if (TextFold::equal(text, L"FALSE") || text == L"0") {
        *flag = 0;
        return true;
    }
    return false;
}
