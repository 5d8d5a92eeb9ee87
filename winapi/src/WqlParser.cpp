#include "WqlParser.h"

#include "TextFold.h"
#include "WqlLexer.h"

#include <utility>

namespace {

using Condition = WqlCondition;
using Type = WqlToken::Type;

const wchar_t *const kReserved[] = {L"SELECT", L"FROM", L"WHERE",       L"AND",        L"OR",
                                    L"NOT",    L"IS",   L"NULL",        L"LIKE",       L"TRUE",
                                    L"FALSE",  L"ISA",  L"ASSOCIATORS", L"REFERENCES", L"OF"};

bool isReserved(const std::wstring &word)
{
    for (const wchar_t *reserved : kReserved) {
        if (TextFold::equal(word, reserved))
            return true;
    }
    return false;
}

bool comparisonOp(Type type, Condition::Op *op)
{
    switch (type) {
    case Type::Equal:
        *op = Condition::Op::Equal;
        return true;
    case Type::NotEqual:
        *op = Condition::Op::NotEqual;
        return true;
    case Type::Less:
        *op = Condition::Op::Less;
        return true;
    case Type::Greater:
        *op = Condition::Op::Greater;
        return true;
    case Type::LessEqual:
        *op = Condition::Op::LessEqual;
        return true;
    case Type::GreaterEqual:
        *op = Condition::Op::GreaterEqual;
        return true;
    default:
        return false;
    }
}

// "5 < Prop" means "Prop > 5".
Condition::Op mirrored(Condition::Op op)
{
    switch (op) {
    case Condition::Op::Less:
        return Condition::Op::Greater;
    case Condition::Op::Greater:
        return Condition::Op::Less;
    case Condition::Op::LessEqual:
        return Condition::Op::GreaterEqual;
    case Condition::Op::GreaterEqual:
        return Condition::Op::LessEqual;
    default:
        return op;
    }
}

} // namespace

bool WqlParser::parse(const std::wstring &text, WqlQuery *query)
{
    std::vector<WqlToken> tokens;
    if (!WqlLexer::tokenize(text, &tokens))
        return false;
    WqlParser parser(std::move(tokens));
    return parser.parseQuery(query);
}

bool WqlParser::parseQuery(WqlQuery *query)
{
    if (!acceptKeyword(L"SELECT"))
        return false;
    if (accept(Type::Star)) {
        query->selectAll = true;
    } else {
        do {
            if (!atPropertyName())
                return false;
            query->properties.push_back(peek().text);
            ++m_pos;
        } while (accept(Type::Comma));
    }
    if (!acceptKeyword(L"FROM") || !atPropertyName())
        return false;
    query->className = peek().text;
    ++m_pos;
    if (acceptKeyword(L"WHERE")) {
        query->where = parseOr(0);
        if (!query->where)
            return false;
    }
    return peek().type == Type::End;
}

std::unique_ptr<WqlCondition> WqlParser::parseOr(int depth)
{
    auto first = parseAnd(depth);
    if (!first || !atKeyword(L"OR"))
        return first;
    auto node = std::make_unique<Condition>();
    node->type = Condition::Type::Or;
    node->operands.push_back(std::move(first));
    while (acceptKeyword(L"OR")) {
        auto next = parseAnd(depth);
        if (!next)
            return nullptr;
        node->operands.push_back(std::move(next));
    }
    return node;
}

std::unique_ptr<WqlCondition> WqlParser::parseAnd(int depth)
{
    auto first = parseNot(depth);
    if (!first || !atKeyword(L"AND"))
        return first;
    auto node = std::make_unique<Condition>();
    node->type = Condition::Type::And;
    node->operands.push_back(std::move(first));
    while (acceptKeyword(L"AND")) {
        auto next = parseNot(depth);
        if (!next)
            return nullptr;
        node->operands.push_back(std::move(next));
    }
    return node;
}

std::unique_ptr<WqlCondition> WqlParser::parseNot(int depth)
{
    if (depth > kMaxDepth)
        return nullptr;
    if (!acceptKeyword(L"NOT"))
        return parsePrimary(depth);
    auto operand = parseNot(depth + 1);
    if (!operand)
        return nullptr;
    auto node = std::make_unique<Condition>();
    node->type = Condition::Type::Not;
    node->operands.push_back(std::move(operand));
    return node;
}

std::unique_ptr<WqlCondition> WqlParser::parsePrimary(int depth)
{
    if (accept(Type::LeftParen)) {
        if (depth + 1 > kMaxDepth)
            return nullptr;
        auto inner = parseOr(depth + 1);
        if (!inner || !accept(Type::RightParen))
            return nullptr;
        return inner;
    }
    return parseComparison();
}

std::unique_ptr<WqlCondition> WqlParser::parseComparison()
{
    Condition::Op op = Condition::Op::Equal;
    if (atPropertyName()) {
        const std::wstring property = peek().text;
        ++m_pos;
        if (acceptKeyword(L"IS")) {
            const bool negated = acceptKeyword(L"NOT");
            if (!acceptKeyword(L"NULL"))
                return nullptr;
            auto node = std::make_unique<Condition>();
            node->type = negated ? Condition::Type::IsNotNull : Condition::Type::IsNull;
            node->property = property;
            return node;
        }
        const bool negatedLike = acceptKeyword(L"NOT");
        if (negatedLike || atKeyword(L"LIKE")) {
            if (!acceptKeyword(L"LIKE") || peek().type != Type::String)
                return nullptr;
            auto node = std::make_unique<Condition>();
            node->type = negatedLike ? Condition::Type::NotLike : Condition::Type::Like;
            node->property = property;
            if (!node->pattern.compile(peek().text))
                return nullptr;
            ++m_pos;
            return node;
        }
        if (!comparisonOp(peek().type, &op))
            return nullptr;
        ++m_pos;
        if (!atLiteral())
            return nullptr;
        auto node = comparison(property, op, peek());
        ++m_pos;
        return node;
    }
    if (!atLiteral())
        return nullptr;
    const WqlToken literal = peek();
    ++m_pos;
    if (!comparisonOp(peek().type, &op))
        return nullptr;
    ++m_pos;
    if (!atPropertyName())
        return nullptr;
    auto node = comparison(peek().text, mirrored(op), literal);
    ++m_pos;
    return node;
}

std::unique_ptr<WqlCondition> WqlParser::comparison(const std::wstring &property,
                                                    WqlCondition::Op op, const WqlToken &literal)
{
    auto node = std::make_unique<Condition>();
    node->property = property;
    node->op = op;
    if (literal.type == Type::String) {
        node->literal.kind = WqlLiteral::Kind::Text;
        node->literal.text = literal.text;
    } else if (literal.type == Type::Integer) {
        node->literal.kind = WqlLiteral::Kind::Integer;
        node->literal.number = literal.number;
    } else if (TextFold::equal(literal.text, L"NULL")) {
        // "= NULL" and "<> NULL" are the same as IS [NOT] NULL; nothing is
        // less or greater than NULL.
        if (op != Condition::Op::Equal && op != Condition::Op::NotEqual)
            return nullptr;
        node->type =
                op == Condition::Op::Equal ? Condition::Type::IsNull : Condition::Type::IsNotNull;
    } else {
        node->literal.kind = WqlLiteral::Kind::Boolean;
        node->literal.number = TextFold::equal(literal.text, L"TRUE") ? 1 : 0;
    }
    return node;
}

bool WqlParser::atKeyword(const wchar_t *keyword) const
{
    return peek().type == Type::Identifier && TextFold::equal(peek().text, keyword);
}

bool WqlParser::acceptKeyword(const wchar_t *keyword)
{
    if (!atKeyword(keyword))
        return false;
    ++m_pos;
    return true;
}

bool WqlParser::accept(WqlToken::Type type)
{
    if (peek().type != type)
        return false;
    ++m_pos;
    return true;
}

bool WqlParser::atPropertyName() const
{
    return peek().type == Type::Identifier && !isReserved(peek().text);
}

bool WqlParser::atLiteral() const
{
    const WqlToken &token = peek();
    if (token.type == Type::String || token.type == Type::Integer)
        return true;
    return token.type == Type::Identifier &&
            (TextFold::equal(token.text, L"TRUE") || TextFold::equal(token.text, L"FALSE") ||
             TextFold::equal(token.text, L"NULL"));
}
