#include <winapi/WinapiSeam.h>

#include <mutex>

using winapi_seam::Value;

struct Value::Deferred
{
    std::function<std::wstring()> make;
    std::once_flag made;
    std::wstring text;
};

Value Value::deferredText(std::wstring known, std::function<std::wstring()> make)
{
    Value value(Kind::Text, std::move(known));
    value.m_deferred = std::make_shared<Deferred>();
    value.m_deferred->make = std::move(make);
    return value;
}

const std::wstring &Value::textValue() const
{
    if (!m_deferred)
        return m_text;
    // Copies share the text and may be read on several threads.
    Deferred &deferred = *m_deferred;
    std::call_once(deferred.made, [&deferred] {
        deferred.text = deferred.make();
        deferred.make = nullptr;
    });
    return deferred.text;
}
