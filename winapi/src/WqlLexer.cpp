#include "WqlLexer.h"

#include <limits>

namespace {

bool isLetter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_';
}

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool isSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f' || c == L'\v';
}

// Reads a decimal integer with an optional sign; false when it overflows.
bool readInteger(const std::wstring &text, std::size_t *pos, long long *value)
{
    bool negative = false;
    if (text[*pos] == L'-' || text[*pos] == L'+') {
        negative = text[*pos] == L'-';
        ++*pos;
    }
    // Accumulate negatively so that the smallest value fits as well.
    long long result = 0;
    const long long limit = std::numeric_limits<long long>::min();
    while (*pos < text.size() && isDigit(text[*pos])) {
        const int digit = text[*pos] - L'0';
        if (result < (limit + digit) / 10)
            return false;
        result = result * 10 - digit;
        ++*pos;
    }
    if (!negative) {
        if (result == limit)
            return false;
        result = -result;
    }
    *value = result;
    return true;
}

bool readString(const std::wstring &text, std::size_t *pos, std::wstring *value)
{
    const wchar_t quote = text[*pos];
    ++*pos;
    while (*pos < text.size()) {
        const wchar_t c = text[*pos];
        if (c == quote) {
            ++*pos;
            return true;
        }
        if (c == L'\\') {
            if (*pos + 1 >= text.size())
                return false;
            value->push_back(text[*pos + 1]);
            *pos += 2;
            continue;
        }
        value->push_back(c);
        ++*pos;
    }
    return false;
}

} // namespace

bool WqlLexer::tokenize(const std::wstring &text, std::vector<WqlToken> *tokens)
{
    using Type = WqlToken::Type;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const wchar_t c = text[pos];
        if (isSpace(c)) {
            ++pos;
            continue;
        }
        WqlToken token;
        const wchar_t next = pos + 1 < text.size() ? text[pos + 1] : L'\0';
        if (isLetter(c)) {
            token.type = Type::Identifier;
            while (pos < text.size() && (isLetter(text[pos]) || isDigit(text[pos])))
                token.text.push_back(text[pos++]);
        } else if (isDigit(c) || ((c == L'-' || c == L'+') && isDigit(next))) {
            token.type = Type::Integer;
            if (!readInteger(text, &pos, &token.number))
                return false;
            // "12abc" is neither a number nor a name.
            if (pos < text.size() && isLetter(text[pos]))
                return false;
        } else if (c == L'\'' || c == L'"') {
            token.type = Type::String;
            if (!readString(text, &pos, &token.text))
                return false;
        } else {
            ++pos;
            switch (c) {
            case L'*':
                token.type = Type::Star;
                break;
            case L',':
                token.type = Type::Comma;
                break;
            case L'(':
                token.type = Type::LeftParen;
                break;
            case L')':
                token.type = Type::RightParen;
                break;
            case L'.':
                token.type = Type::Dot;
                break;
            case L'@':
                token.type = Type::At;
                break;
            case L':':
                token.type = Type::Colon;
                break;
            case L'=':
                token.type = Type::Equal;
                break;
            case L'!':
                if (next != L'=')
                    return false;
                ++pos;
                token.type = Type::NotEqual;
                break;
            case L'<':
                if (next == L'>' || next == L'=') {
                    ++pos;
                    token.type = next == L'>' ? Type::NotEqual : Type::LessEqual;
                } else {
                    token.type = Type::Less;
                }
                break;
            case L'>':
                if (next == L'=') {
                    ++pos;
                    token.type = Type::GreaterEqual;
                } else {
                    token.type = Type::Greater;
                }
                break;
            default:
                return false;
            }
        }
        tokens->push_back(std::move(token));
    }
    tokens->push_back(WqlToken());
    return true;
}
