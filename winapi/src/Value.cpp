#include <winapi/WinapiSeam.h>

namespace winapi_seam {

Value::Value() = default;

Value Value::null() { return Value(); }

Value Value::text(const std::wstring &text)
{
    Value value;
    value.m_kind = Kind::Text;
    value.m_text = text;
    return value;
}

Value Value::int32(int number)
{
    Value value;
    value.m_kind = Kind::Int32;
    value.m_int = number;
    return value;
}

Value Value::boolean(bool flag)
{
    Value value;
    value.m_kind = Kind::Boolean;
    value.m_int = flag ? 1 : 0;
    return value;
}

Value Value::textArray(const std::vector<std::wstring> &texts)
{
    Value value;
    value.m_kind = Kind::TextArray;
    value.m_array = texts;
    return value;
}

bool Value::operator==(const Value &other) const
{
    return m_kind == other.m_kind && m_text == other.m_text && m_int == other.m_int &&
            m_array == other.m_array;
}

} // namespace winapi_seam
