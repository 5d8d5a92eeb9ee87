#include "TimeZoneProvider.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include <cstdlib>

using winapi_seam::Row;
using winapi_seam::Value;

std::vector<std::wstring> TimeZoneProvider::columns()
{
    return {L"Bias", L"Caption", L"DaylightName", L"Description", L"StandardName"};
}

std::vector<Row> TimeZoneProvider::rows()
{
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const int offset =
            zone.isValid() ? zone.standardTimeOffset(QDateTime::currentDateTimeUtc()) / 60 : 0;
    const QString caption = QStringLiteral("(UTC%1%2:%3) %4")
                                    .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                                    .arg(std::abs(offset) / 60, 2, 10, QLatin1Char('0'))
                                    .arg(std::abs(offset) % 60, 2, 10, QLatin1Char('0'))
                                    .arg(QString::fromUtf8(zone.id()));
    const auto name = [&zone](QTimeZone::TimeType type) {
        return Value::text(zone.displayName(type, QTimeZone::LongName, QLocale::c()).toStdWString());
    };
    return {{{L"Bias", Value::int32(-offset)},
             {L"Caption", Value::text(caption.toStdWString())},
             {L"DaylightName",
              name(zone.hasDaylightTime() ? QTimeZone::DaylightTime : QTimeZone::StandardTime)},
             {L"Description", Value::text(caption.toStdWString())},
             {L"StandardName", name(QTimeZone::StandardTime)}}};
}
