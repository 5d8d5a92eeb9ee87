#include "WqlEvaluator.h"

#include "TextFold.h"
#include "WqlConversion.h"

using winapi_seam::Value;

namespace {

template<class T>
bool apply(WqlCondition::Op op, const T &a, const T &b)
{
    switch (op) {
    case WqlCondition::Op::Equal:
        return a == b;
    case WqlCondition::Op::NotEqual:
        return !(a == b);
    case WqlCondition::Op::Less:
        return a < b;
    case WqlCondition::Op::Greater:
        return b < a;
    case WqlCondition::Op::LessEqual:
        return !(b < a);
    case WqlCondition::Op::GreaterEqual:
        return !(a < b);
    }
    return false;
}

} // namespace

bool WqlEvaluator::matches(const WqlCondition &condition, const std::vector<Value> &row)
{
    using Type = WqlCondition::Type;
    switch (condition.type) {
    case Type::And:
        for (const auto &operand : condition.operands) {
            if (!matches(*operand, row))
                return false;
        }
        return true;
    case Type::Or:
        for (const auto &operand : condition.operands) {
            if (matches(*operand, row))
                return true;
        }
        return false;
    case Type::Not:
        return !matches(*condition.operands.front(), row);
    case Type::Compare:
        return compare(row.at(condition.column), condition.op, condition.literal);
    case Type::IsNull:
        return row.at(condition.column).isNull();
    case Type::IsNotNull:
        return !row.at(condition.column).isNull();
    case Type::Like:
        return like(row.at(condition.column), condition.pattern);
    case Type::NotLike: {
        const Value &value = row.at(condition.column);
        return !value.isNull() && !like(value, condition.pattern);
    }
    }
    return false;
}

bool WqlEvaluator::compare(const Value &value, WqlCondition::Op op, const WqlLiteral &literal)
{
    using Kind = WqlLiteral::Kind;
    long long number = 0;
    switch (value.kind()) {
    case Value::Kind::Null:
    case Value::Kind::TextArray:
        return false;
    case Value::Kind::Text:
        if (literal.kind == Kind::Text)
            return apply(op, TextFold::compare(value.textValue(), literal.text), 0);
        if (literal.kind == Kind::Integer)
            return WqlConversion::toInteger(value.textValue(), &number) &&
                    apply(op, number, literal.number);
        return WqlConversion::toBoolean(value.textValue(), &number) &&
                apply(op, number, literal.number);
    case Value::Kind::Int32:
        if (literal.kind == Kind::Text) {
            long long converted = 0;
            return WqlConversion::toInteger(literal.text, &converted) &&
                    apply(op, static_cast<long long>(value.intValue()), converted);
        }
        return apply(op, static_cast<long long>(value.intValue()), literal.number);
    case Value::Kind::Boolean: {
        const long long flag = value.boolValue() ? 1 : 0;
        if (literal.kind == Kind::Text)
            return WqlConversion::toBoolean(literal.text, &number) && apply(op, flag, number);
        return apply(op, flag, literal.number != 0 ? 1LL : 0LL);
    }
    }
    return false;
}

bool WqlEvaluator::like(const Value &value, const LikePattern &pattern)
{
    switch (value.kind()) {
    case Value::Kind::Text:
        return pattern.matches(value.textValue());
    case Value::Kind::Int32:
        return pattern.matches(std::to_wstring(value.intValue()));
    default:
        return false;
    }
}
