#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class WMIObject;

// Typed reads of one property of a result row. Each is empty when the read
// fails or the value has another type (a NULL among them).

// A string (VT_BSTR).
std::optional<QString> textProperty(const WMIObject &row, const QString &name);
// A signed 32-bit integer (VT_I4).
std::optional<qint32> int32Property(const WMIObject &row, const QString &name);
// The first `maxCount` elements of an array of strings (VT_ARRAY | VT_BSTR);
// no later element is read.
std::optional<QStringList> textArrayProperty(const WMIObject &row, const QString &name,
                                             int maxCount);
