#include "BstrMemory.h"

#include <winapi/ComDef.h>
#include <winapi/WbemCli.h>

#include <QString>

_com_error::~_com_error() = default;

const wchar_t *_com_error::ErrorMessage() const noexcept
{
    switch (m_hresult) {
    case S_OK:
        return L"The operation completed successfully.";
    case E_OUTOFMEMORY:
        return L"Not enough memory resources are available to complete this operation.";
    case E_INVALIDARG:
        return L"The parameter is incorrect.";
    case E_POINTER:
        return L"Invalid pointer";
    case CO_E_NOTINITIALIZED:
        return L"CoInitialize has not been called.";
    case WBEM_E_INVALID_QUERY:
        return L"Invalid query";
    default:
        return L"Unknown error";
    }
}

void _com_issue_error(HRESULT hr) { throw _com_error(hr); }

BSTR _com_util::ConvertStringToBSTR(const char *pSrc)
{
    if (!pSrc)
        return nullptr;
    const std::wstring wide = QString::fromUtf8(pSrc).toStdWString();
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}
