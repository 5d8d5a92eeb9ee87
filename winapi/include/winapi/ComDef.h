#pragma once

// The COM support library's _com_error and the part of _bstr_t a WMI
// client uses. _bstr_t is header-only, as on Windows; _com_error has its
// destructor in the library so that its type is one and the same in every
// library that throws or catches it.
#include <winapi/OleAuto.h>

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

private:
    HRESULT m_hresult;
};

// Throws _com_error(hr); what the support library calls on every failure.
WINAPI_EXPORT void _com_issue_error(HRESULT hr);

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
    operator const wchar_t *() const noexcept { return m_data ? m_data->str : nullptr; }
    operator wchar_t *() const noexcept { return m_data ? m_data->str : nullptr; }
    bool operator!() const noexcept { return !m_data || !m_data->str; }

    unsigned int length() const noexcept { return m_data ? SysStringLen(m_data->str) : 0; }
    BSTR GetBSTR() const noexcept { return m_data ? m_data->str : nullptr; }

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
