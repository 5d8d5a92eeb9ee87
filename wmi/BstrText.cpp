#include "wmi/BstrText.h"
#include "wmi/ScopedSafeArray.h"

#include <string>

ScopedBstr toBstr(const QString &text)
{
    const std::wstring wide = text.toStdWString();
    ScopedBstr bstr(SysAllocString(wide.c_str()));
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
