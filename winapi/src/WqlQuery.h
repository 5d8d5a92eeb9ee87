#pragma once

#include <memory>
#include <string>
#include <vector>

// A literal on the other side of a comparison.
struct WqlLiteral
{
    enum class Kind { Text, Integer } kind = Kind::Text;
    std::wstring text;
    long long number = 0; // Integer; TRUE and FALSE as 1 and 0
};

// One node of a WHERE condition. AND and OR hold all their operands in one
// node, so a long chain of them costs no recursion depth.
struct WqlCondition
{
    enum class Type { And, Or, Not, Compare, IsNull, IsNotNull, Like, NotLike };
    enum class Op { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };

    Type type = Type::Compare;
    std::vector<std::unique_ptr<WqlCondition>> operands; // And, Or, Not
    std::wstring property;
    int column = -1; // the property's column once the class is known
    Op op = Op::Equal;
    WqlLiteral literal; // Compare; the pattern of Like and NotLike
};

// A parsed SELECT, or an object path as one.
struct WqlQuery
{
    bool selectAll = false;
    std::vector<std::wstring> properties;
    std::wstring className;
    std::unique_ptr<WqlCondition> where;
};
