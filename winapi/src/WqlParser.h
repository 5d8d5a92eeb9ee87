#pragma once

#include "WqlQuery.h"
#include "WqlToken.h"

#include <vector>

// Parses "SELECT * | property list FROM class [WHERE condition]". Nesting
// (parentheses, NOT) is bounded so that no input can exhaust the stack.
class WqlParser
{
public:
    static constexpr int kMaxDepth = 100;

    // False for anything that is not such a query.
    static bool parse(const std::wstring &text, WqlQuery *query);

    // "property op literal" as a condition; null when the literal cannot be
    // compared that way (NULL with < or >). Object paths use it for their keys.
    static std::unique_ptr<WqlCondition> comparison(const std::wstring &property,
                                                    WqlCondition::Op op, const WqlToken &literal);

private:
    explicit WqlParser(std::vector<WqlToken> tokens)
        : m_tokens(std::move(tokens))
    { }

    bool parseQuery(WqlQuery *query);
    std::unique_ptr<WqlCondition> parseOr(int depth);
    std::unique_ptr<WqlCondition> parseAnd(int depth);
    std::unique_ptr<WqlCondition> parseNot(int depth);
    std::unique_ptr<WqlCondition> parsePrimary(int depth);
    std::unique_ptr<WqlCondition> parseComparison();

    const WqlToken &peek() const { return m_tokens[m_pos]; }
    bool atKeyword(const wchar_t *keyword) const;
    bool acceptKeyword(const wchar_t *keyword);
    bool accept(WqlToken::Type type);
    bool atPropertyName() const;
    bool atLiteral() const;

    std::vector<WqlToken> m_tokens;
    std::size_t m_pos = 0;
};
