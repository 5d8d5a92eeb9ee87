#pragma once

#include "tests/SeamCounters.h"

// Helpers shared by the WMI client's tests: they drive the COM/WMI stand-in
// through its seam.
#include "wmi/WmiPlatform.h"

#include <winapi/WinapiSeam.h>

#include <string>
#include <vector>
#include <QMap>
#include <QMetaType>
#include <QStringList>
#include <QtTest>

using Rows = std::vector<winapi_seam::Row>;
Q_DECLARE_METATYPE(Rows)
Q_DECLARE_METATYPE(winapi_seam::Step)

inline std::wstring wide(const QString &text) { return text.toStdWString(); }

inline QStringList executedQueries()
{
    QStringList queries;
    for (const std::wstring &query : winapi_seam::executedQueries())
        queries.append(QString::fromStdWString(query));
    return queries;
}

// "key -> value" in map order, so a mismatch prints readably.
inline QStringList entries(const QMap<QString, QString> &map)
{
    QStringList list;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        list.append(it.key() + QStringLiteral(" -> ") + it.value());
    return list;
}
