#include "wmi/BstrText.h"

#include <memory>
#include <string>

namespace {

struct BstrFree
{
    void operator()(OLECHAR *text) const { SysFreeString(text); }
};

} // namespace

_bstr_t toBstr(const QString &text)
{
    const std::wstring wide = text.toStdWString();
    return _bstr_t(wide.c_str());
}

QString fromBstr(const OLECHAR *text)
{
    if (!text)
        return QString();
    return QString::fromWCharArray(text, -1);
}

bool bstrElement(SAFEARRAY *array, LONG index, QString *text)
{
    BSTR element = nullptr;
    if (FAILED(SafeArrayGetElement(array, &index, &element)))
        return false;
    const std::unique_ptr<OLECHAR, BstrFree> owned(element);
    *text = fromBstr(element);
    return true;
}
