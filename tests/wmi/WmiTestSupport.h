#pragma once

// Helpers shared by the WMI client's tests and the stand-in's: they drive the
// COM/WMI stand-in through its seam and read rows as the plug-in does.
#include "tests/DataRow.h"
#include "tests/SeamFixture.h"
#include "wmi/PropertyValues.h"
#include "wmi/ScopedVariant.h"
#include "wmi/WMIObject.h"

#include <winapi/WinapiSeam.h>

#include <QStringList>
#include <QtTest>

#include <vector>

using Rows = std::vector<winapi_seam::Row>;
Q_DECLARE_METATYPE(Rows)

// A property as text: strings as they are, 32-bit numbers in decimal,
// "null" for anything else, or "(failed)" when the read fails.
inline QString textOf(const WMIObject &row, const QString &name)
{
    ScopedVariant probe;
    if (!row.get(name, probe.put()))
        return QStringLiteral("(failed)");
    if (const std::optional<qint32> number = int32Property(row, name))
        return QString::number(*number);
    return textProperty(row, name).value_or(QStringLiteral("null"));
}

// One property of every row, comma-separated.
inline QString column(const QVector<WMIObject> &rows, const QString &name)
{
    QStringList values;
    for (const WMIObject &row : rows)
        values << textOf(row, name);
    return values.join(',');
}
