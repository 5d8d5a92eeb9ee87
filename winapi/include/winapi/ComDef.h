#pragma once

// The COM support library's _com_error and _bstr_t. _bstr_t is header-only,
// as on Windows; _com_error has its destructor in the library so that its
// type is one and the same in every library that throws or catches it.
#include <winapi/OleAuto.h>

#include <cstring>
#include <cwchar>

class WINAPI_EXPORT _com_error
{
public:
    explicit _com_error(HRESULT hr) noexcept
        : m_hresult(hr)
    { }
    _com_error(const _com_error &other) noexcept = default;
    _com_error &operator=(const _com_error &other) noexcept = default;
    virtual ~_com_error();

    HRESULT Error() const noexcept { return m_hresult; }
    // The system's text for the code, e.g. "Out of memory".
    const wchar_t *ErrorMessage() const noexcept;

private:
    HRESULT m_hresult;
};

// Throws _com_error(hr); what the support library calls on every failure.
WINAPI_EXPORT void _com_issue_error(HRESULT hr);

namespace _com_util {
// Converts a UTF-8 text into a new BSTR; null for a null text.
WINAPI_EXPORT BSTR ConvertStringToBSTR(const char *pSrc);
} // namespace _com_util

// A reference-counted BSTR. Copies share one BSTR, which is freed with the
// last copy.
class _bstr_t
{
public:
    _bstr_t() noexcept = default;
    _bstr_t(const _bstr_t &other) noexcept
        : m_data(other.m_data)
    {
        addRef();
    }
    _bstr_t(_bstr_t &&other) noexcept
        : m_data(other.m_data)
    {
        other.m_data = nullptr;
    }
    _bstr_t(const wchar_t *text)
        : m_data(text ? new Data(SysAllocString(text)) : nullptr)
    {
        if (m_data && !m_data->str) {
            delete m_data;
            m_data = nullptr;
            _com_issue_error(E_OUTOFMEMORY);
        }
    }
    _bstr_t(const char *text)
        : m_data(text ? new Data(_com_util::ConvertStringToBSTR(text)) : nullptr)
    {
        if (m_data && !m_data->str) {
            delete m_data;
            m_data = nullptr;
            _com_issue_error(E_OUTOFMEMORY);
        }
    }
    // Takes over the BSTR when fCopy is false, copies it otherwise.
    _bstr_t(BSTR bstr, bool fCopy)
        : m_data(nullptr)
    {
        if (!bstr)
            return;
        BSTR held = fCopy ? SysAllocStringLen(bstr, SysStringLen(bstr)) : bstr;
        if (!held)
            _com_issue_error(E_OUTOFMEMORY);
        m_data = new Data(held);
    }
    ~_bstr_t() { release(); }

    _bstr_t &operator=(const _bstr_t &other) noexcept
    {
        if (m_data != other.m_data) {
            release();
            m_data = other.m_data;
            addRef();
        }
        return *this;
    }
    _bstr_t &operator=(_bstr_t &&other) noexcept
    {
        if (this != &other) {
            release();
            m_data = other.m_data;
            other.m_data = nullptr;
        }
        return *this;
    }
    _bstr_t &operator=(const wchar_t *text)
    {
        _bstr_t copy(text);
        *this = static_cast<_bstr_t &&>(copy);
        return *this;
    }

    operator const wchar_t *() const noexcept { return m_data ? m_data->str : nullptr; }
    operator wchar_t *() const noexcept { return m_data ? m_data->str : nullptr; }
    bool operator!() const noexcept { return !m_data || !m_data->str; }

    unsigned int length() const noexcept { return m_data ? SysStringLen(m_data->str) : 0; }
    BSTR GetBSTR() const noexcept { return m_data ? m_data->str : nullptr; }
    // A new BSTR the caller owns.
    BSTR copy(bool fCopy = true) const
    {
        if (!m_data)
            return nullptr;
        if (!fCopy)
            return m_data->str;
        BSTR result = SysAllocStringLen(m_data->str, SysStringLen(m_data->str));
        if (!result)
            _com_issue_error(E_OUTOFMEMORY);
        return result;
    }
    void Attach(BSTR s)
    {
        release();
        m_data = s ? new Data(s) : nullptr;
    }
    BSTR Detach()
    {
        if (!m_data)
            return nullptr;
        BSTR result = nullptr;
        if (m_data->refs == 1) {
            result = m_data->str;
            m_data->str = nullptr;
        } else {
            result = copy();
        }
        release();
        return result;
    }
    // Frees what is held and gives the slot to a call that fills it.
    BSTR *GetAddress()
    {
        Attach(nullptr);
        m_data = new Data(nullptr);
        return &m_data->str;
    }
    bool operator==(const _bstr_t &other) const noexcept
    {
        const wchar_t *a = *this;
        const wchar_t *b = other;
        return std::wcscmp(a ? a : L"", b ? b : L"") == 0;
    }
    bool operator!=(const _bstr_t &other) const noexcept { return !(*this == other); }

private:
    struct Data
    {
        explicit Data(BSTR s) noexcept
            : str(s)
        { }
        ~Data() { SysFreeString(str); }
        BSTR str;
        unsigned long refs = 1;
    };

    void addRef() noexcept
    {
        if (m_data)
            ++m_data->refs;
    }
    void release() noexcept
    {
        if (m_data && --m_data->refs == 0)
            delete m_data;
        m_data = nullptr;
    }

    Data *m_data = nullptr;
};
