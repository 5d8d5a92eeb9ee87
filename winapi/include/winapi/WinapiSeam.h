#pragma once

// The test seam of the COM/WMI stand-in: scripted class rows, injected
// failures, live-object counters and call logs. Used by tests, benchmarks
// and fuzzers only, never by a WMI client.
#include <winapi/WinTypes.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace winapi_seam {

// A property value as WMI hands it out.
class WINAPI_EXPORT Value
{
public:
    enum class Kind { Null, Text, Int32, Boolean, TextArray };

    Value() = default;
    static Value null() { return Value(); } // VT_NULL
    static Value text(std::wstring text) { return Value(Kind::Text, std::move(text)); } // VT_BSTR
    static Value int32(int number) { return Value(Kind::Int32, {}, number); } // VT_I4
    static Value boolean(bool flag) { return Value(Kind::Boolean, {}, flag ? 1 : 0); } // VT_BOOL
    static Value textArray(std::vector<std::wstring> texts) // VT_ARRAY|VT_BSTR
    {
        return Value(Kind::TextArray, {}, 0, std::move(texts));
    }
    // A text that costs reads to make (a device identity from sysfs), made
    // when it is first read, once, for every copy of the value; `starts` are
    // the ways it may start, known without those reads.
    static Value deferredText(std::vector<std::wstring> starts, std::function<std::wstring()> make);

    Kind kind() const { return m_kind; }
    bool isNull() const { return m_kind == Kind::Null; }
    const std::wstring &textValue() const; // makes a deferred text
    // The ways a deferred text may start, known without making it; empty
    // for any other value.
    const std::vector<std::wstring> &possibleStarts() const;
    int intValue() const { return m_int; }
    bool boolValue() const { return m_int != 0; }
    const std::vector<std::wstring> &arrayValue() const { return m_array; }

    bool operator==(const Value &o) const
    {
        return m_kind == o.m_kind && textValue() == o.textValue() && m_int == o.m_int &&
                m_array == o.m_array;
    }

private:
    Value(Kind kind, std::wstring text, int number = 0, std::vector<std::wstring> array = {})
        : m_kind(kind)
        , m_text(std::move(text))
        , m_int(number)
        , m_array(std::move(array))
    { }

    Kind m_kind = Kind::Null;
    std::wstring m_text;
    int m_int = 0;
    std::vector<std::wstring> m_array;
    struct Deferred;
    std::shared_ptr<Deferred> m_deferred;
};

// Property name -> value, in the class's property order.
using Row = std::vector<std::pair<std::wstring, Value>>;

// Replaces the rows of a class (e.g. L"Win32_NetworkAdapter") with scripted
// ones; queries then filter and project these rows exactly as they would the
// machine's. A class the stand-in does not know becomes known, with the
// properties of its rows. Property names of a known class that the rows
// lack read as VT_NULL.
WINAPI_EXPORT void scriptRows(const std::wstring &className, const std::vector<Row> &rows);

enum class Step {
    CoInitializeEx,
    CoInitializeSecurity,
    CoCreateInstance,
    ConnectServer,
    CoSetProxyBlanket,
    ExecQuery,
    Next,
    Get,
    GetNames,
    SysAllocString
};

// After `afterCalls` more calls of `step`, the next `times` calls (-1: all)
// answer `hr`. For SysAllocString (and SysAllocStringLen) the failing calls
// return null, so _bstr_t throws _com_error(E_OUTOFMEMORY); `hr` is not used.
// Only calls made by the stand-in's users count, not its own allocations.
// A new failStep for the same step replaces the earlier one.
WINAPI_EXPORT void failStep(Step step, HRESULT hr, int afterCalls = 0, int times = -1);

struct Counters
{
    long interfaces; // live COM objects: locators, services, enumerators, class objects
    long bstrs; // live BSTRs
    long safeArrays; // live SAFEARRAYs
    long apartmentDepth; // CoInitializeEx calls not yet balanced on the calling thread
};
WINAPI_EXPORT Counters counters();

// Turns the two call logs below on or off (off at start: a host that runs
// for days must not keep every query it made). reset() leaves it as it is.
WINAPI_EXPORT void recordCalls(bool on);

// Every ExecQuery text since the last reset while recording, in order.
WINAPI_EXPORT std::vector<std::wstring> executedQueries();

struct ConnectCall
{
    std::wstring path;
    bool userNull;
    bool passwordNull;
};
// Every ConnectServer call since the last reset while recording, in order.
WINAPI_EXPORT std::vector<ConnectCall> connectCalls();

// Drops scripts, faults and logs; lets CoInitializeSecurity succeed once
// again. Live objects and apartments are not touched.
WINAPI_EXPORT void reset();

} // namespace winapi_seam
