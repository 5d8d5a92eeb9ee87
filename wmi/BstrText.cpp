#include "wmi/BstrText.h"
#include "wmi/ScopedSafeArray.h"

#include <string>

ScopedBstr toBstr(const QString &text)
{
    // Written straight into the BSTR, without a std::wstring between: as it
    // is where OLECHAR is UTF-16 (Windows), widened where it is UTF-32 (the
    // stand-in), which takes one unit per surrogate pair, so fewer.
    ScopedBstr bstr(SysAllocStringLen(nullptr, UINT(text.size())));
    if (!bstr)
        _com_issue_error(E_OUTOFMEMORY);
    const int length = text.toWCharArray(bstr.get());
    bstr.get()[length] = L'\0';
    if (length < text.size())
        bstr = ScopedBstr(SysAllocStringLen(bstr.get(), UINT(length)));
    if (!bstr)
        _com_issue_error(E_OUTOFMEMORY);
    return bstr;
}

QString fromBstr(const OLECHAR *text)
{
    if (!text)
        return QString();
    return QString::fromWCharArray(text, -1);
}

QStringList bstrElements(SAFEARRAY *array, LONG maxCount)
{
    QStringList texts;
    LONG lower = 0;
    LONG upper = -1;
    if (!safeArrayBounds(array, &lower, &upper))
        return texts;
    for (LONG index = lower; index <= upper && index - lower < maxCount; ++index) {
        ScopedBstr element;
        if (SUCCEEDED(SafeArrayGetElement(array, &index, element.put())))
            texts.append(fromBstr(element.get()));
    }
    return texts;
}
