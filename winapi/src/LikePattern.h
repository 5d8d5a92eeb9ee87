#pragma once

#include <string>
#include <vector>

// A WQL LIKE pattern: % any run of characters, _ one character, [abc],
// [a-z] and [^...] one character of (or not of) a set; case-insensitive.
class LikePattern
{
public:
    // False for a malformed pattern (an unterminated or empty set).
    bool compile(const std::wstring &pattern);
    bool matches(const std::wstring &text) const;

private:
    struct Range
    {
        wchar_t low;
        wchar_t high;
    };
    struct Element
    {
        enum class Kind { Any, One, Char, Set } kind = Kind::Char;
        wchar_t c = 0;
        bool negated = false;
        std::vector<Range> ranges;
    };

    bool matchesOne(const Element &element, wchar_t c) const;

    std::vector<Element> m_elements;
};
