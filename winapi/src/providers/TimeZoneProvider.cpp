#include "TimeZoneProvider.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include <cstdlib>

using winapi_seam::Value;

std::vector<std::wstring> TimeZoneProvider::columns()
{
    return {L"Bias", L"Caption", L"DaylightName", L"Description", L"StandardName"};
}

std::vector<Values> TimeZoneProvider::rows()
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
    return {{Value::int32(-offset), Value::text(caption.toStdWString()),
             name(zone.hasDaylightTime() ? QTimeZone::DaylightTime : QTimeZone::StandardTime),
             Value::text(caption.toStdWString()), name(QTimeZone::StandardTime)}};
}
