#include "ProcessorProvider.h"

#include "SysfsReader.h"

#include <QStringList>

#include <cstdio>
#include <map>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

using winapi_seam::Value;

namespace {

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

Value textOrNull(const QString &text)
{
    return text.isEmpty() ? Value::null() : Value::text(text.toStdWString());
}

} // namespace

std::wstring ProcessorProvider::processorId()
{
#if defined(__i386__) || defined(__x86_64__)
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx))
        return std::wstring();
    wchar_t text[17];
    std::swprintf(text, 17, L"%08X%08X", edx, eax);
    return text;
#else
    return std::wstring();
#endif
}

std::vector<std::wstring> ProcessorProvider::columns()
{
    return {L"DeviceID", L"Manufacturer", L"Name", L"NumberOfLogicalProcessors", L"ProcessorId"};
}

std::vector<Values> ProcessorProvider::rows()
{
    // One /proc/cpuinfo block per logical processor; a package per
    // "physical id" (one package where there is none).
    std::map<int, std::pair<QString, int>> packages; // vendor, logical processors
    std::string content;
    SysfsReader::readWhole("/proc/cpuinfo", &content);
    QString name;
    for (const QString &block : QString::fromStdString(content).split(QStringLiteral("\n\n"))) {
        std::map<QString, QString> fields;
        for (const QString &line : block.split(QLatin1Char('\n')))
            fields[line.section(QLatin1Char(':'), 0, 0).trimmed()] = line.section(':', 1).trimmed();
        if (!fields.count(QStringLiteral("processor")))
            continue;
        auto &package = packages[fields[QStringLiteral("physical id")].toInt()];
        package.first = fields[QStringLiteral("vendor_id")];
        ++package.second;
        name = name.isEmpty() ? fields[QStringLiteral("model name")] : name;
    }
    const QString brand = brandString();
    name = brand.isEmpty() ? name : brand;
    const std::wstring id = processorId();
    std::vector<Values> rows;
    rows.reserve(packages.size());
    for (const auto &package : packages) {
        rows.push_back({Value::text(L"CPU" + std::to_wstring(rows.size())),
                        textOrNull(package.second.first), textOrNull(name),
                        Value::int32(package.second.second),
                        id.empty() ? Value::null() : Value::text(id)});
    }
    return rows;
}
