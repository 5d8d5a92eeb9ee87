#include "ObjectPath.h"

#include "TextFold.h"
#include "WqlLexer.h"
#include "WqlParser.h"

#include <winapi/WbemCli.h>

namespace {

// Drops a leading "\\server\namespace:" or "namespace:".
std::wstring relativePath(const std::wstring &path)
{
    const std::size_t quote = path.find_first_of(L"\"'");
    const std::size_t colon = path.find(L':');
    if (colon == std::wstring::npos || (quote != std::wstring::npos && quote < colon))
        return path;
    const std::wstring prefix = path.substr(0, colon);
    if (prefix.find_first_of(L"\\/") == std::wstring::npos)
        return path;
    return path.substr(colon + 1);
}

} // namespace

HRESULT ObjectPath::parse(const std::wstring &path, WqlQuery *query, bool *classOnly)
{
    using Type = WqlToken::Type;
    std::vector<WqlToken> tokens;
    if (!WqlLexer::tokenize(relativePath(path), &tokens) || tokens.front().type != Type::Identifier)
        return WBEM_E_INVALID_OBJECT_PATH;
    query->selectAll = true;
    query->className = tokens.front().text;
    *classOnly = false;

    std::size_t pos = 1;
    if (tokens[pos].type == Type::End) {
        *classOnly = true;
        return WBEM_S_NO_ERROR;
    }
    if (tokens[pos].type == Type::Equal && tokens[pos + 1].type == Type::At &&
        tokens[pos + 2].type == Type::End)
        return WBEM_S_NO_ERROR; // a singleton: its one instance
    if (tokens[pos].type != Type::Dot)
        return WBEM_E_INVALID_OBJECT_PATH;

    auto keys = std::make_unique<WqlCondition>();
    keys->type = WqlCondition::Type::And;
    do {
        ++pos;
        if (tokens.size() < pos + 4 || tokens[pos].type != Type::Identifier ||
            tokens[pos + 1].type != Type::Equal)
            return WBEM_E_INVALID_OBJECT_PATH;
        const WqlToken &value = tokens[pos + 2];
        const bool flag = value.type == Type::Identifier &&
                (TextFold::equal(value.text, L"TRUE") || TextFold::equal(value.text, L"FALSE"));
        if (value.type != Type::String && value.type != Type::Integer && !flag)
            return WBEM_E_INVALID_OBJECT_PATH;
        keys->operands.push_back(
                WqlParser::comparison(tokens[pos].text, WqlCondition::Op::Equal, value));
        pos += 3;
    } while (tokens[pos].type == Type::Comma);
    if (tokens[pos].type != Type::End)
        return WBEM_E_INVALID_OBJECT_PATH;
    query->where = std::move(keys);
    return WBEM_S_NO_ERROR;
}
