#include "TimeZoneProvider.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>

using winapi_seam::Row;
using winapi_seam::Value;

std::vector<std::wstring> TimeZoneProvider::columns()
{
    return {L"Bias",        L"Caption",      L"DaylightBias", L"DaylightName",
            L"Description", L"StandardBias", L"StandardName"};
}

std::vector<Row> TimeZoneProvider::rows()
{
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const int offsetMinutes = zone.isValid() ? zone.standardTimeOffset(now) / 60 : 0;
    const int magnitude = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    const QString caption = QStringLiteral("(UTC%1%2:%3) %4")
                                    .arg(offsetMinutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                                    .arg(magnitude / 60, 2, 10, QLatin1Char('0'))
                                    .arg(magnitude % 60, 2, 10, QLatin1Char('0'))
                                    .arg(QString::fromUtf8(zone.id()));
    const QString standardName =
            zone.displayName(QTimeZone::StandardTime, QTimeZone::LongName, QLocale::c());
    const QString daylightName = zone.hasDaylightTime()
            ? zone.displayName(QTimeZone::DaylightTime, QTimeZone::LongName, QLocale::c())
            : standardName;
    const int daylightBias = zone.hasDaylightTime()
            ? -(zone.daylightTimeOffset(now) != 0 ? zone.daylightTimeOffset(now) / 60 : 60)
            : 0;
    return {{{L"Bias", Value::int32(-offsetMinutes)},
             {L"Caption", Value::text(caption.toStdWString())},
             {L"DaylightBias", Value::int32(daylightBias)},
             {L"DaylightName", Value::text(daylightName.toStdWString())},
             {L"Description", Value::text(caption.toStdWString())},
             {L"StandardBias", Value::int32(0)},
             {L"StandardName", Value::text(standardName.toStdWString())}}};
}
