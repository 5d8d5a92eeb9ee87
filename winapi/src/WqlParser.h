#pragma once

#include "WqlQuery.h"

#include <winapi/WinTypes.h>

#include <string_view>

// Parses "SELECT * | property list FROM class [WHERE condition]" and object
// paths. Nesting (parentheses, NOT) is bounded so that no input can exhaust
// the stack.
class WqlParser
{
public:
    static constexpr int kMaxDepth = 100;

    // False for anything that is not such a query.
    static bool parse(const std::wstring &text, WqlQuery *query);
    // An object path as GetObject takes it, relative to the connected
    // namespace: Class, Class=@ or Class.Key=value[,Key=value...], as a
    // query for its instance; `classOnly` when it names the class itself.
    // WBEM_E_INVALID_OBJECT_PATH when malformed.
    static HRESULT parseObjectPath(const std::wstring &path, WqlQuery *query, bool *classOnly);

private:
    struct Token
    {
        // Name, symbol ("<>" for "!=" too) or a string's contents as they
        // stand in the parsed text: tokens stay small and own nothing.
        std::wstring_view text;
        long long number = 0;
        enum class Kind { Name, String, Integer, Symbol, End } kind = Kind::End;
        bool escaped = false; // a string with backslash escapes in `text`
    };

    explicit WqlParser(const std::wstring &text);

    bool parseQuery(WqlQuery *query);
    std::unique_ptr<WqlCondition> parseList(int depth, std::wstring_view keyword);
    std::unique_ptr<WqlCondition> parseNot(int depth);
    std::unique_ptr<WqlCondition> parseComparison();
    static std::unique_ptr<WqlCondition> comparison(std::wstring_view property, WqlCondition::Op op,
                                                    const Token &literal);

    const Token &peek() const { return m_tokens[m_pos]; }
    // A string token's contents with its escapes resolved.
    static std::wstring stringOf(const Token &token);
    bool atKeyword(std::wstring_view keyword) const;
    bool accept(std::wstring_view keywordOrSymbol);
    bool atPropertyName() const;
    bool atLiteral() const;
    bool atOperator(WqlCondition::Op *op) const;

    std::vector<Token> m_tokens;
    bool m_valid = true; // false when the text cannot be split into tokens
    std::size_t m_pos = 0;
};
