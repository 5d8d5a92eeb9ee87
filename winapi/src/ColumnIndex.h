#pragma once

#include "WqlQuery.h"

#include <winapi/WinapiSeam.h>

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// The rows of one column by value, so that `Property = literal` is answered
// without visiting every row, as a WMI provider answers a key lookup. Values
// are filed under every form the evaluator could compare them in (text
// case-folded, text that reads as a number or a flag, numbers, flags), so a
// lookup gives exactly the rows the evaluator finds equal.
class ColumnIndex
{
public:
    ColumnIndex(const std::vector<std::vector<winapi_seam::Value>> &rows, std::size_t column);

    // The positions of the rows whose value equals the literal, ascending.
    std::vector<std::size_t> equalRows(const WqlLiteral &literal) const;

private:
    // How a value was filed: text values may be filed as numbers or flags
    // too, but only literals of the matching kind may see those.
    enum class Form { TextNumber, TextFlag, Number, Flag };
    using NumberKey = std::pair<Form, long long>;
    struct NumberKeyHash
    {
        std::size_t operator()(const NumberKey &key) const
        {
            return std::hash<long long>()(key.second) * 4 + static_cast<std::size_t>(key.first);
        }
    };

    static void add(const std::vector<std::size_t> *rows, std::vector<std::size_t> *result);
    const std::vector<std::size_t> *numbers(Form form, long long number) const;

    std::unordered_map<std::wstring, std::vector<std::size_t>> m_texts; // by folded text
    std::unordered_map<NumberKey, std::vector<std::size_t>, NumberKeyHash> m_numbers;
};
