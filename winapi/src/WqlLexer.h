#pragma once

#include "WqlToken.h"

#include <vector>

// Splits WQL text into tokens; false for a character or literal that WQL
// does not allow (an unterminated string, an integer out of range, ...).
class WqlLexer
{
public:
    static bool tokenize(const std::wstring &text, std::vector<WqlToken> *tokens);
};
