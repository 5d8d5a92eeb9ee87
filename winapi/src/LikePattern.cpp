#include "LikePattern.h"

#include "TextFold.h"

bool LikePattern::compile(const std::wstring &pattern)
{
    m_elements.clear();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        Element element;
        element.kind = Element::Kind::Char;
        const wchar_t c = pattern[i];
        if (c == L'%') {
            // Runs of % mean the same as one and would only cost time.
            if (!m_elements.empty() && m_elements.back().kind == Element::Kind::Any)
                continue;
            element.kind = Element::Kind::Any;
        } else if (c == L'_') {
            element.kind = Element::Kind::One;
        } else if (c == L'[') {
            element.kind = Element::Kind::Set;
            std::size_t j = i + 1;
            if (j < pattern.size() && pattern[j] == L'^') {
                element.negated = true;
                ++j;
            }
            // A ] right after the opening bracket is a member, not the end.
            bool first = true;
            for (; j < pattern.size() && (first || pattern[j] != L']'); ++j) {
                first = false;
                Range range{pattern[j], pattern[j]};
                if (j + 2 < pattern.size() && pattern[j + 1] == L'-' && pattern[j + 2] != L']') {
                    range.high = pattern[j + 2];
                    j += 2;
                }
                element.ranges.push_back(range);
            }
            if (j >= pattern.size() || element.ranges.empty())
                return false;
            i = j;
        } else {
            element.c = TextFold::fold(c);
        }
        m_elements.push_back(std::move(element));
    }
    return true;
}

bool LikePattern::matchesOne(const Element &element, wchar_t c) const
{
    switch (element.kind) {
    case Element::Kind::One:
        return true;
    case Element::Kind::Char:
        return element.c == TextFold::fold(c);
    case Element::Kind::Set: {
        const wchar_t folded = TextFold::fold(c);
        bool inSet = false;
        for (const Range &range : element.ranges) {
            if ((c >= range.low && c <= range.high) ||
                (folded >= TextFold::fold(range.low) && folded <= TextFold::fold(range.high))) {
                inSet = true;
                break;
            }
        }
        return inSet != element.negated;
    }
    case Element::Kind::Any:
        break;
    }
    return false;
}

bool LikePattern::matches(const std::wstring &text) const
{
    // Table of which pattern prefixes match the text read so far: linear in
    // pattern times text, so no pattern can make matching blow up.
    std::vector<char> current(m_elements.size() + 1, 0);
    std::vector<char> next(m_elements.size() + 1, 0);
    current[0] = 1;
    for (std::size_t p = 0; p < m_elements.size() && m_elements[p].kind == Element::Kind::Any; ++p)
        current[p + 1] = 1;
    for (const wchar_t c : text) {
        std::fill(next.begin(), next.end(), 0);
        for (std::size_t p = 0; p < m_elements.size(); ++p) {
            const Element &element = m_elements[p];
            if (element.kind == Element::Kind::Any) {
                // % swallows c and stays, or has already been passed.
                if (current[p] || current[p + 1])
                    next[p + 1] = 1;
            } else if (current[p] && matchesOne(element, c)) {
                next[p + 1] = 1;
            }
        }
        // A % may also match nothing after c.
        for (std::size_t p = 0; p < m_elements.size(); ++p) {
            if (m_elements[p].kind == Element::Kind::Any && next[p])
                next[p + 1] = 1;
        }
        current.swap(next);
    }
    return current[m_elements.size()] != 0;
}
