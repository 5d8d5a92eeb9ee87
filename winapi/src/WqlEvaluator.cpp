#include "WqlEvaluator.h"

#include "TextFold.h"

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

// "TRUE"/"1" as 1, "FALSE"/"0" as 0, in any case.
bool toFlag(const std::wstring &text, long long *flag)
{
    const bool isTrue = TextFold::equal(text, L"TRUE") || text == L"1";
    *flag = isTrue ? 1 : 0;
    return isTrue || TextFold::equal(text, L"FALSE") || text == L"0";
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
        const std::wstring text = value.kind() == Value::Kind::Int32
                ? std::to_wstring(value.intValue())
                : value.textValue();
        const bool kind = value.kind() == Value::Kind::Text || value.kind() == Value::Kind::Int32;
        const bool like = kind && WqlEvaluator::like(text.c_str(), condition.literal.text.c_str());
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
    using Kind = WqlLiteral::Kind;
    const WqlLiteral &literal = condition.literal;
    const WqlCondition::Op op = condition.op;
    long long number = 0;
    switch (value.kind()) {
    case Value::Kind::Null:
    case Value::Kind::TextArray:
        return false;
    case Value::Kind::Text:
        if (literal.kind == Kind::Text)
            return apply(op, TextFold::compare(value.textValue(), literal.text));
        return (literal.kind == Kind::Integer ? toInteger(value.textValue(), &number)
                                              : toFlag(value.textValue(), &number)) &&
                apply(op, number, literal.number);
    case Value::Kind::Int32:
        if (literal.kind == Kind::Text)
            return toInteger(literal.text, &number) &&
                    apply(op, (long long)value.intValue(), number);
        return apply(op, (long long)value.intValue(), literal.number);
    case Value::Kind::Boolean:
        if (literal.kind == Kind::Text && !toFlag(literal.text, &number))
            return false;
        return apply(op, value.boolValue() ? 1LL : 0LL,
                     literal.kind == Kind::Text ? number : (literal.number != 0 ? 1LL : 0LL));
    }
    return false;
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
