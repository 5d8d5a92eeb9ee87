#include "WqlEvaluator.h"

#include "TextFold.h"

#include <algorithm>
#include <cerrno>
#include <cwchar>
#include <cwctype>

using winapi_seam::Value;

namespace {

// `order` is <0, 0 or >0 as the value is less than, equal to or greater
// than the literal.
bool apply(WqlCondition::Op op, int order)
{
    switch (op) {
    case WqlCondition::Op::Equal:
        return order == 0;
    case WqlCondition::Op::NotEqual:
        return order != 0;
    case WqlCondition::Op::Less:
        return order < 0;
    case WqlCondition::Op::Greater:
        return order > 0;
    case WqlCondition::Op::LessEqual:
        return order <= 0;
    case WqlCondition::Op::GreaterEqual:
        return order >= 0;
    }
    return false;
}

bool apply(WqlCondition::Op op, long long a, long long b) { return apply(op, (a > b) - (a < b)); }

// The whole text as a decimal integer.
bool toInteger(const std::wstring &text, long long *number)
{
    if (text.empty() || text.size() > 20)
        return false;
    wchar_t *end = nullptr;
    errno = 0;
    *number = std::wcstoll(text.c_str(), &end, 10);
    return errno == 0 && *end == L'\0' && !std::iswspace(text[0]);
}

} // namespace

bool WqlEvaluator::matches(const WqlCondition &condition, const std::vector<Value> &row)
{
    using Type = WqlCondition::Type;
    switch (condition.type) {
    case Type::And:
    case Type::Or:
        for (const auto &operand : condition.operands) {
            if (matches(*operand, row) == (condition.type == Type::Or))
                return condition.type == Type::Or;
        }
        return condition.type == Type::And;
    case Type::Not:
        return !matches(*condition.operands.front(), row);
    case Type::Compare:
        return compare(row.at(condition.column), condition);
    case Type::IsNull:
    case Type::IsNotNull:
        return row.at(condition.column).isNull() == (condition.type == Type::IsNull);
    case Type::Like:
    case Type::NotLike: {
        const Value &value = row.at(condition.column);
        const bool like = likeValue(value, condition.literal.text);
        return condition.type == Type::Like ? like : (!value.isNull() && !like);
    }
    }
    return false;
}

bool WqlEvaluator::isPattern(const std::wstring &pattern)
{
    // Character sets are refused rather than matched literally: an answer
    // that differs from Windows' would mislead more than an error.
    return pattern.find(L'[') == std::wstring::npos;
}

bool WqlEvaluator::compare(const Value &value, const WqlCondition &condition)
{
    // Flags compare as 0 and 1; a text and a number compare as numbers when
    // the text is one.
    const WqlLiteral &literal = condition.literal;
    const bool textLiteral = literal.kind == WqlLiteral::Kind::Text;
    long long number = 0, other = literal.number;
    switch (value.kind()) {
    case Value::Kind::Text:
        if (textLiteral)
            return apply(condition.op, TextFold::compare(value.textValue(), literal.text));
        return toInteger(value.textValue(), &number) && apply(condition.op, number, other);
    case Value::Kind::Int32:
    case Value::Kind::Boolean:
        number = value.kind() == Value::Kind::Int32 ? value.intValue() : value.boolValue();
        return (!textLiteral || toInteger(literal.text, &other)) &&
                apply(condition.op, number, other);
    default:
        return false;
    }
}

bool WqlEvaluator::likeValue(const Value &value, const std::wstring &pattern)
{
    if (value.kind() == Value::Kind::Int32)
        return like(std::to_wstring(value.intValue()).c_str(), pattern.c_str());
    if (value.kind() != Value::Kind::Text)
        return false;
    // The pattern's literal start against the ways a deferred text may
    // start ("ROOT%" against a PCI device), so that it is made only when it
    // may match.
    const std::vector<std::wstring> &starts = value.possibleStarts();
    const auto fits = [&pattern](const std::wstring &start) {
        for (std::size_t i = 0; i < start.size() && i < pattern.size() && pattern[i] != L'%'; ++i) {
            if (pattern[i] != L'_' && TextFold::fold(pattern[i]) != TextFold::fold(start[i]))
                return false;
        }
        return true;
    };
    if (!starts.empty() && std::none_of(starts.begin(), starts.end(), fits))
        return false;
    return like(value.textValue().c_str(), pattern.c_str());
}

// Backtracks only over '%': at most one pending '%' is retried at a time, so
// a pattern costs time linear in text times pattern, never exponential.
bool WqlEvaluator::like(const wchar_t *text, const wchar_t *pattern)
{
    const wchar_t *starText = nullptr, *starPattern = nullptr;
    while (*text) {
        if (*pattern == L'%') {
            starPattern = ++pattern;
            starText = text;
            continue;
        }
        if (*pattern == L'_' || (*pattern && TextFold::fold(*pattern) == TextFold::fold(*text))) {
            ++pattern;
            ++text;
        } else if (starPattern) {
            pattern = starPattern;
            text = ++starText;
        } else {
            return false;
        }
    }
    while (*pattern == L'%')
        ++pattern;
    return !*pattern;
}
