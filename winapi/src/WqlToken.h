#pragma once

#include <string>

// One lexical unit of WQL (or of an object path, which shares the lexer).
struct WqlToken
{
    enum class Type {
        Identifier,
        String,
        Integer,
        Star,
        Comma,
        LeftParen,
        RightParen,
        Dot,
        At,
        Colon,
        Equal,
        NotEqual,
        Less,
        Greater,
        LessEqual,
        GreaterEqual,
        End
    };

    Type type = Type::End;
    std::wstring text; // identifier or string contents
    long long number = 0; // integer value
};
