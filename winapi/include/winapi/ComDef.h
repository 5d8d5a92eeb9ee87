#pragma once

// The COM support library's _com_error and the part of _bstr_t a WMI
// client uses. _bstr_t is header-only, as on Windows; _com_error has its
// destructor in the library so that its type is one and the same in every
// library that throws or catches it.
#include <winapi/OleAuto.h>

#include <memory>

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
    _bstr_t(const wchar_t *text)
    {
        if (!text)
            return;
        BSTR copy = SysAllocString(text);
        if (!copy)
            _com_issue_error(E_OUTOFMEMORY);
        m_data.reset(copy, &SysFreeString);
    }

    operator const wchar_t *() const noexcept { return m_data.get(); }
    operator wchar_t *() const noexcept { return m_data.get(); }
    bool operator!() const noexcept { return !m_data; }

    unsigned int length() const noexcept { return SysStringLen(m_data.get()); }
    BSTR GetBSTR() const noexcept { return m_data.get(); }

private:
    std::shared_ptr<OLECHAR> m_data;
};
