#include "WqlParser.h"

#include "TextFold.h"
#include "WqlEvaluator.h"

#include <winapi/WbemCli.h>

#include <cerrno>
#include <cwchar>
#include <iterator>
#include <string_view>

namespace {

using Condition = WqlCondition;
using Op = WqlCondition::Op;

constexpr std::wstring_view kReserved[] = {L"SELECT",      L"FROM",       L"WHERE", L"AND",
                                           L"OR",          L"NOT",        L"IS",    L"NULL",
                                           L"LIKE",        L"TRUE",       L"FALSE", L"ISA",
                                           L"ASSOCIATORS", L"REFERENCES", L"OF"};

// In the order of WqlCondition::Op.
constexpr std::wstring_view kOperators[] = {L"=", L"<>", L"<", L">", L"<=", L">="};

bool isNameChar(wchar_t c, bool first)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_' ||
            (!first && c >= L'0' && c <= L'9');
}

// Never true for the NUL character, unlike wcschr.
bool isOneOf(std::wstring_view set, wchar_t c) { return set.find(c) != std::wstring_view::npos; }

} // namespace

WqlParser::WqlParser(const std::wstring &text)
{
    using Kind = Token::Kind;
    std::size_t pos = 0;
    m_tokens.reserve(24);
    while (m_valid && pos < text.size()) {
        const wchar_t c = text[pos];
        const wchar_t next = pos + 1 < text.size() ? text[pos + 1] : L'\0';
        Token token;
        if (c == L' ' || (c >= L'\t' && c <= L'\r')) {
            ++pos;
            continue;
        }
        if (isNameChar(c, true)) {
            token.kind = Kind::Name;
            const std::size_t start = pos;
            while (pos < text.size() && isNameChar(text[pos], false))
                ++pos;
            token.text = std::wstring_view(text).substr(start, pos - start);
        } else if ((c >= L'0' && c <= L'9') ||
                   ((c == L'-' || c == L'+') && next >= L'0' && next <= L'9')) {
            token.kind = Kind::Integer;
            wchar_t *end = nullptr;
            errno = 0;
            token.number = std::wcstoll(text.c_str() + pos, &end, 10);
            pos = std::size_t(end - text.c_str());
            // "12abc" is neither a number nor a name.
            m_valid = errno == 0 && !(pos < text.size() && isNameChar(text[pos], true));
        } else if (c == L'\'' || c == L'"') {
            token.kind = Kind::String;
            const std::size_t start = ++pos;
            for (; pos < text.size() && text[pos] != c; ++pos) {
                token.escaped = token.escaped || text[pos] == L'\\';
                if (text[pos] == L'\\' && ++pos == text.size())
                    break;
            }
            token.text = std::wstring_view(text).substr(start, pos - start);
            m_valid = pos++ < text.size();
        } else {
            token.kind = Kind::Symbol;
            // Compared by character: glibc's wmemcmp reads past short texts,
            // which memory checkers report.
            if ((c && next == L'=' && isOneOf(L"!<>", c)) || (c == L'<' && next == L'>')) {
                token.text = c == L'!' ? L"<>" : std::wstring_view(text).substr(pos, 2);
                pos += 2;
            } else {
                token.text = std::wstring_view(text).substr(pos, 1);
                m_valid = isOneOf(L"*,().@:=<>", c);
                ++pos;
            }
        }
        m_tokens.push_back(token);
    }
    m_tokens.push_back(Token());
}

std::wstring WqlParser::stringOf(const Token &token)
{
    if (!token.escaped)
        return std::wstring(token.text);
    std::wstring string;
    for (std::size_t i = 0; i < token.text.size(); ++i)
        string.push_back(token.text[i] == L'\\' && i + 1 < token.text.size() ? token.text[++i]
                                                                             : token.text[i]);
    return string;
}

bool WqlParser::parse(const std::wstring &text, WqlQuery *query)
{
    WqlParser parser(text);
    return parser.m_valid && parser.parseQuery(query);
}

HRESULT WqlParser::parseObjectPath(const std::wstring &path, WqlQuery *query, bool *classOnly)
{
    WqlParser parser(path);
    if (!parser.m_valid || parser.peek().kind != Token::Kind::Name)
        return WBEM_E_INVALID_OBJECT_PATH;
    query->selectAll = true;
    query->className = parser.peek().text;
    ++parser.m_pos;
    *classOnly = parser.peek().kind == Token::Kind::End;
    if (*classOnly ||
        (parser.accept(L"=") && parser.accept(L"@") && parser.peek().kind == Token::Kind::End))
        return WBEM_S_NO_ERROR; // the class, or a singleton's one instance
    if (!parser.accept(L"."))
        return WBEM_E_INVALID_OBJECT_PATH;
    auto keys = std::make_unique<Condition>();
    keys->type = Condition::Type::And;
    do {
        const Token name = parser.peek();
        ++parser.m_pos;
        if (name.kind != Token::Kind::Name || !parser.accept(L"=") || !parser.atLiteral() ||
            parser.atKeyword(L"NULL"))
            return WBEM_E_INVALID_OBJECT_PATH;
        keys->operands.push_back(comparison(name.text, Op::Equal, parser.peek()));
        ++parser.m_pos;
    } while (parser.accept(L","));
    if (parser.peek().kind != Token::Kind::End)
        return WBEM_E_INVALID_OBJECT_PATH;
    query->where = std::move(keys);
    return WBEM_S_NO_ERROR;
}

bool WqlParser::parseQuery(WqlQuery *query)
{
    if (!accept(L"SELECT"))
        return false;
    query->selectAll = accept(L"*");
    while (!query->selectAll) {
        if (!atPropertyName())
            return false;
        query->properties.emplace_back(peek().text);
        ++m_pos;
        if (!accept(L","))
            break;
    }
    if (!accept(L"FROM") || !atPropertyName())
        return false;
    query->className = peek().text;
    ++m_pos;
    if (accept(L"WHERE") && !(query->where = parseList(0, L"OR")))
        return false;
    return peek().kind == Token::Kind::End;
}

// "a OR b OR ..." (of AND lists) or "a AND b AND ..." (of NOT terms).
std::unique_ptr<WqlCondition> WqlParser::parseList(int depth, std::wstring_view keyword)
{
    const bool isOr = keyword[0] == L'O';
    const auto operand = [this, depth, isOr] {
        return isOr ? parseList(depth, L"AND") : parseNot(depth);
    };
    auto first = operand();
    if (!first || !atKeyword(keyword))
        return first;
    auto node = std::make_unique<Condition>();
    node->type = isOr ? Condition::Type::Or : Condition::Type::And;
    node->operands.push_back(std::move(first));
    while (accept(keyword)) {
        node->operands.push_back(operand());
        if (!node->operands.back())
            return nullptr;
    }
    return node;
}

std::unique_ptr<WqlCondition> WqlParser::parseNot(int depth)
{
    if (depth > kMaxDepth)
        return nullptr;
    if (accept(L"(")) {
        auto inner = depth + 1 > kMaxDepth ? nullptr : parseList(depth + 1, L"OR");
        return inner && accept(L")") ? std::move(inner) : nullptr;
    }
    if (!accept(L"NOT"))
        return parseComparison();
    auto node = std::make_unique<Condition>();
    node->type = Condition::Type::Not;
    node->operands.push_back(parseNot(depth + 1));
    return node->operands.back() ? std::move(node) : nullptr;
}

std::unique_ptr<WqlCondition> WqlParser::parseComparison()
{
    Op op = Op::Equal;
    if (!atPropertyName())
        return nullptr;
    auto node = std::make_unique<Condition>();
    node->property = peek().text;
    ++m_pos;
    if (accept(L"IS")) {
        node->type = accept(L"NOT") ? Condition::Type::IsNotNull : Condition::Type::IsNull;
        return accept(L"NULL") ? std::move(node) : nullptr;
    }
    const bool negated = accept(L"NOT");
    if (negated || atKeyword(L"LIKE")) {
        node->type = negated ? Condition::Type::NotLike : Condition::Type::Like;
        if (!accept(L"LIKE") || peek().kind != Token::Kind::String)
            return nullptr;
        node->literal.text = stringOf(m_tokens[m_pos++]);
        return WqlEvaluator::isPattern(node->literal.text) ? std::move(node) : nullptr;
    }
    if (!atOperator(&op) || (++m_pos, !atLiteral()))
        return nullptr;
    return comparison(node->property, op, m_tokens[m_pos++]);
}

std::unique_ptr<WqlCondition> WqlParser::comparison(std::wstring_view property, Op op,
                                                    const Token &literal)
{
    auto node = std::make_unique<Condition>();
    node->property = property;
    node->op = op;
    if (literal.kind == Token::Kind::String) {
        node->literal.text = stringOf(literal);
    } else if (literal.kind == Token::Kind::Integer) {
        node->literal.kind = WqlLiteral::Kind::Integer;
        node->literal.number = literal.number;
    } else if (TextFold::equal(literal.text, L"NULL")) {
        // "= NULL" and "<> NULL" are IS [NOT] NULL; nothing is less or
        // greater than NULL.
        if (op != Op::Equal && op != Op::NotEqual)
            return nullptr;
        node->type = op == Op::Equal ? Condition::Type::IsNull : Condition::Type::IsNotNull;
    } else {
        node->literal.kind = WqlLiteral::Kind::Integer;
        node->literal.number = TextFold::equal(literal.text, L"TRUE") ? 1 : 0;
    }
    return node;
}

bool WqlParser::atKeyword(std::wstring_view keyword) const
{
    return peek().kind == Token::Kind::Name && TextFold::equal(peek().text, keyword);
}

bool WqlParser::accept(std::wstring_view keywordOrSymbol)
{
    // Symbols never fold; TextFold compares them by character too.
    const bool at = (peek().kind == Token::Kind::Name || peek().kind == Token::Kind::Symbol) &&
            TextFold::equal(peek().text, keywordOrSymbol);
    m_pos += at ? 1 : 0;
    return at;
}

bool WqlParser::atPropertyName() const
{
    if (peek().kind != Token::Kind::Name)
        return false;
    for (const std::wstring_view reserved : kReserved) {
        if (TextFold::equal(peek().text, reserved))
            return false;
    }
    return true;
}

bool WqlParser::atLiteral() const
{
    return peek().kind == Token::Kind::String || peek().kind == Token::Kind::Integer ||
            atKeyword(L"TRUE") || atKeyword(L"FALSE") || atKeyword(L"NULL");
}

bool WqlParser::atOperator(Op *op) const
{
    for (std::size_t i = 0; i < std::size(kOperators); ++i) {
        if (peek().kind == Token::Kind::Symbol && TextFold::equal(peek().text, kOperators[i])) {
            *op = static_cast<Op>(i);
            return true;
        }
    }
    return false;
}
