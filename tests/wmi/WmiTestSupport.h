#pragma once

// Helpers shared by the WMI client's tests and the stand-in's: they drive the
// COM/WMI stand-in through its seam and read rows as the plug-in does.
#include "tests/SeamCounters.h"
#include "wmi/ScopedVariant.h"
#include "wmi/WMIObject.h"

#include <winapi/WinapiSeam.h>

#include <QStringList>
#include <QtTest>

#include <vector>

using Rows = std::vector<winapi_seam::Row>;
Q_DECLARE_METATYPE(Rows)
Q_DECLARE_METATYPE(winapi_seam::Step)

// A property as text: strings as they are, numbers in decimal, "true" or
// "false", "null" for anything else, or "(failed)" when the read fails.
inline QString textOf(const WMIObject &row, const QString &name)
{
    ScopedVariant value;
    if (!row.get(name, value.ptr()))
        return QStringLiteral("(failed)");
    const VARIANT &v = value.get();
    switch (v.vt) {
    case VT_BSTR:
        return QString::fromWCharArray(v.bstrVal);
    case VT_I4:
        return QString::number(v.lVal);
    case VT_BOOL:
        return v.boolVal ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return QStringLiteral("null");
    }
}

// One property of every row, comma-separated.
inline QString column(const QVector<WMIObject> &rows, const QString &name)
{
    QStringList values;
    for (const WMIObject &row : rows)
        values << textOf(row, name);
    return values.join(',');
}
