#include "IdentityProvider.h"

#include "Digits.h"
#include "SysfsReader.h"

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

#include <cstdlib>

#include <unistd.h>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

using winapi_seam::Value;

namespace {

Value dmi(const char *field)
{
    std::string text;
    if (!SysfsReader::readWhole(std::string("/sys/class/dmi/id/") + field, &text))
        return Value::null();
    return Value::text(QString::fromUtf8(text.data(), int(text.size())).trimmed().toStdWString());
}

Value textOrNull(const QString &text)
{
    return text.isEmpty() ? Value::null() : Value::text(text.toStdWString());
}

// The processor's brand string from CPUID leaves 0x80000002-4, as Windows
// shows it; empty where there is no CPUID or no brand string.
QString brandString()
{
#if defined(__i386__) || defined(__x86_64__)
    if (static_cast<unsigned int>(__get_cpuid_max(0x80000000U, nullptr)) < 0x80000004U)
        return QString();
    unsigned int words[13] = {};
    for (std::size_t leaf = 0; leaf < 3; ++leaf)
        __get_cpuid(0x80000002U + unsigned(leaf), &words[4 * leaf], &words[4 * leaf + 1],
                    &words[4 * leaf + 2], &words[4 * leaf + 3]);
    return QString::fromLatin1(reinterpret_cast<const char *>(words)).trimmed();
#else
    return QString();
#endif
}

// "EDX then EAX of CPUID leaf 1" as 16 upper-case hex digits; empty where
// there is no CPUID.
QString processorId()
{
#if defined(__i386__) || defined(__x86_64__)
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx))
        return QString::fromStdWString(digits(edx, 16, 8) + digits(eax, 16, 8));
#endif
    return QString();
}

} // namespace

std::vector<Values> IdentityProvider::biosRows() { return {{dmi("product_serial")}}; }

std::vector<Values> IdentityProvider::baseBoardRows() { return {{dmi("board_serial")}}; }

std::vector<Values> IdentityProvider::processorRows()
{
    // One row, as for a machine with one processor package; the first
    // "model name" of /proc/cpuinfo where there is no brand string.
    QString name = brandString();
    std::string content;
    if (name.isEmpty() && SysfsReader::readWhole("/proc/cpuinfo", &content)) {
        for (const QString &line : QString::fromStdString(content).split(QLatin1Char('\n'))) {
            if (line.section(QLatin1Char(':'), 0, 0).trimmed() == QLatin1String("model name")) {
                name = line.section(QLatin1Char(':'), 1).trimmed();
                break;
            }
        }
    }
    return {{textOrNull(name), textOrNull(processorId())}};
}

std::vector<Values> IdentityProvider::computerSystemRows()
{
    // The NetBIOS name: the host name's first label in upper case, at most
    // 15 characters.
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const QString name = QString::fromLocal8Bit(host).section(QLatin1Char('.'), 0, 0).left(15);
    return {{Value::text(name.toUpper().toStdWString())}};
}

std::vector<Values> IdentityProvider::timeZoneRows()
{
    // "(UTC+01:00) Europe/Berlin": Windows' form, with the zone's standard
    // offset and its IANA name.
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const int offset =
            zone.isValid() ? zone.standardTimeOffset(QDateTime::currentDateTimeUtc()) / 60 : 0;
    const QString caption = QStringLiteral("(UTC%1%2:%3) %4")
                                    .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                                    .arg(std::abs(offset) / 60, 2, 10, QLatin1Char('0'))
                                    .arg(std::abs(offset) % 60, 2, 10, QLatin1Char('0'))
                                    .arg(QString::fromUtf8(zone.id()));
    return {{Value::text(caption.toStdWString())}};
}
