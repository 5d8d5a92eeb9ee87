#include "ColumnIndex.h"

#include "TextFold.h"
#include "WqlConversion.h"

#include <algorithm>

using winapi_seam::Value;

ColumnIndex::ColumnIndex(const std::vector<std::vector<Value>> &rows, std::size_t column)
{
    for (std::size_t position = 0; position < rows.size(); ++position) {
        const Value &value = rows[position].at(column);
        long long number = 0;
        switch (value.kind()) {
        case Value::Kind::Text:
            m_texts[TextFold::fold(value.textValue())].push_back(position);
            if (WqlConversion::toInteger(value.textValue(), &number))
                m_numbers[{Form::TextNumber, number}].push_back(position);
            if (WqlConversion::toBoolean(value.textValue(), &number))
                m_numbers[{Form::TextFlag, number}].push_back(position);
            break;
        case Value::Kind::Int32:
            m_numbers[{Form::Number, value.intValue()}].push_back(position);
            break;
        case Value::Kind::Boolean:
            m_numbers[{Form::Flag, value.boolValue() ? 1 : 0}].push_back(position);
            break;
        case Value::Kind::Null:
        case Value::Kind::TextArray:
            break; // equal to nothing
        }
    }
}

std::vector<std::size_t> ColumnIndex::equalRows(const WqlLiteral &literal) const
{
    // Each kind of row value is compared with the literal in its own way
    // (see WqlEvaluator::compare); the three kinds never share a row.
    std::vector<std::size_t> result;
    long long number = 0;
    switch (literal.kind) {
    case WqlLiteral::Kind::Text: {
        const auto found = m_texts.find(TextFold::fold(literal.text));
        add(found == m_texts.end() ? nullptr : &found->second, &result);
        if (WqlConversion::toInteger(literal.text, &number))
            add(numbers(Form::Number, number), &result);
        if (WqlConversion::toBoolean(literal.text, &number))
            add(numbers(Form::Flag, number), &result);
        break;
    }
    case WqlLiteral::Kind::Integer:
        add(numbers(Form::TextNumber, literal.number), &result);
        add(numbers(Form::Number, literal.number), &result);
        add(numbers(Form::Flag, literal.number != 0 ? 1 : 0), &result);
        break;
    case WqlLiteral::Kind::Boolean:
        add(numbers(Form::TextFlag, literal.number), &result);
        add(numbers(Form::Number, literal.number), &result);
        add(numbers(Form::Flag, literal.number), &result);
        break;
    }
    // Each list is in row order already; only a merge of several needs it.
    if (!std::is_sorted(result.begin(), result.end()))
        std::sort(result.begin(), result.end());
    return result;
}

void ColumnIndex::add(const std::vector<std::size_t> *rows, std::vector<std::size_t> *result)
{
    if (rows)
        result->insert(result->end(), rows->begin(), rows->end());
}

const std::vector<std::size_t> *ColumnIndex::numbers(Form form, long long number) const
{
    const auto found = m_numbers.find({form, number});
    return found == m_numbers.end() ? nullptr : &found->second;
}
