#include <winapi/WinapiSeam.h>

#include <mutex>

using winapi_seam::Value;

struct Value::Deferred
{
    std::vector<std::wstring> starts;
    std::function<std::wstring()> make;
    std::once_flag made;
    std::wstring text;
};

Value Value::deferredText(std::vector<std::wstring> starts, std::function<std::wstring()> make)
{
    Value value(Kind::Text, {});
    value.m_deferred = std::make_shared<Deferred>();
    value.m_deferred->starts = std::move(starts);
    value.m_deferred->make = std::move(make);
    return value;
}

namespace {
const std::vector<std::wstring> kNoStarts;
} // namespace

const std::vector<std::wstring> &Value::possibleStarts() const
{
    return m_deferred ? m_deferred->starts : kNoStarts;
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
