#include "BenchTable.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Stat
{
    double median = kNaN, low = kNaN, high = kNaN;
    bool valid() const { return !std::isnan(median); }
};

Stat statOf(std::vector<double> values)
{
    Stat s;
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    s.low = values.front();
    s.high = values.back();
    return s;
}

std::string formatTime(double seconds)
{
    char text[32];
    if (std::isnan(seconds))
        return "n/a";
    if (seconds >= 1)
        std::snprintf(text, sizeof text, "%.2f s", seconds);
    else if (seconds >= 1e-3)
        std::snprintf(text, sizeof text, "%.3f ms", seconds * 1e3);
    else
        std::snprintf(text, sizeof text, "%.1f us", seconds * 1e6);
    return text;
}

std::string formatBytes(double bytes)
{
    char text[32];
    if (std::isnan(bytes))
        return "n/a";
    if (std::fabs(bytes) >= 1024 * 1024)
        std::snprintf(text, sizeof text, "%.2f MiB", bytes / (1024 * 1024));
    else if (std::fabs(bytes) >= 1024)
        std::snprintf(text, sizeof text, "%.1f KiB", bytes / 1024);
    else
        std::snprintf(text, sizeof text, "%.0f B", bytes);
    return text;
}

std::string formatRatio(double ratio)
{
    char text[32];
    if (std::isnan(ratio))
        return "n/a";
    std::snprintf(text, sizeof text, "%.2fx", ratio);
    return text;
}

} // namespace

bool BenchTable::ReportContext(const Context &)
{
    std::fprintf(stderr, "bench: running");
    return true;
}

void BenchTable::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &run : runs) {
        if (run.run_type != Run::RT_Iteration)
            continue;
        std::string name = run.run_name.function_name;
        if (!run.run_name.args.empty())
            name += "/" + run.run_name.args;
        Samples &samples = m_samples[name];
        if (run.error_occurred) {
            samples.error = run.error_message;
            continue;
        }
        samples.seconds.push_back(run.GetAdjustedRealTime() /
                                  benchmark::GetTimeUnitMultiplier(run.time_unit));
        for (const auto &counter : run.counters)
            samples.counters[counter.first].push_back(counter.second.value);
    }
    std::fprintf(stderr, ".");
    std::fflush(stderr);
}

QString BenchTable::addJsonRuns(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    // Google Benchmark writes NaN for statistics of constant counters, which
    // is not JSON; those runs are aggregates this table does not read.
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QRegularExpression(QStringLiteral(R"(:\s*-?(NaN|Infinity)\b)")),
                 QStringLiteral(": null"));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (!document.isObject())
        return error.errorString() + QStringLiteral(" at offset %1").arg(error.offset);
    // Fields every run has; any other number is one of the benchmark's counters.
    const QStringList standard{"family_index", "per_family_instance_index",
                               "repetitions",  "repetition_index",
                               "threads",      "iterations",
                               "real_time",    "cpu_time"};
    const QJsonArray runs = document.object().value("benchmarks").toArray();
    for (const auto &value : runs) {
        const QJsonObject run = value.toObject();
        if (run.value("run_type").toString() != "iteration")
            continue;
        // "name/arg/iterations:1/repeats:3" -> "name/arg", as ReportRuns names it.
        QStringList parts;
        for (const QString &part : run.value("run_name").toString().split('/')) {
            if (!part.contains(':') && part != "manual_time" && part != "real_time")
                parts << part;
        }
        Samples &samples = m_samples[parts.join('/').toStdString()];
        if (run.value("error_occurred").toBool()) {
            samples.error = run.value("error_message").toString().toStdString();
            continue;
        }
        for (auto it = run.begin(); it != run.end(); ++it) {
            if (it.value().isDouble() && !standard.contains(it.key()))
                samples.counters[it.key().toStdString()].push_back(it.value().toDouble());
        }
    }
    return QString();
}

void BenchTable::addSamples(const std::string &name, const std::vector<double> &seconds,
                            const std::string &error)
{
    Samples &samples = m_samples[name];
    samples.error = error;
    if (error.empty())
        samples.seconds = seconds;
}

const BenchTable::Samples *BenchTable::find(const std::string &name) const
{
    const auto it = m_samples.find(name);
    return it == m_samples.end() ? nullptr : &it->second;
}

void BenchTable::print() const
{
    std::fprintf(stderr, "\n");
    struct Line
    {
        std::string what, median, spread, goal, met;
    };
    std::vector<Line> lines;

    const auto time = [&](const std::string &name) {
        const Samples *s = find(name);
        return s ? statOf(s->seconds) : Stat();
    };
    const auto counter = [&](const std::string &name, const std::string &key) {
        const Samples *s = find(name);
        if (!s || !s->counters.count(key))
            return Stat();
        return statOf(s->counters.at(key));
    };
    const auto error = [&](const std::string &name) {
        const Samples *s = find(name);
        return s ? s->error : std::string("not run");
    };
    const auto verdict = [](bool valid, bool met) {
        return std::string(!valid ? "n/a" : met ? "yes" : "NO");
    };
    const auto timeRow = [&](const std::string &what, const std::string &name,
                             const std::string &goal, double limit) {
        const Stat s = time(name);
        Line line{what, formatTime(s.median), formatTime(s.low) + " - " + formatTime(s.high), goal,
                  ""};
        if (!s.valid())
            line.median = "n/a (" + error(name) + ")";
        line.met = limit > 0 ? verdict(s.valid(), s.median <= limit) : "";
        lines.push_back(line);
    };
    // Ratio of medians; the spread is the widest ratio the samples allow.
    const auto ratioRow = [&](const std::string &what, const std::string &top,
                              const std::string &bottom, const std::string &goal, double limit) {
        const Stat a = time(top), b = time(bottom);
        const bool valid = a.valid() && b.valid();
        Line line{what, valid ? formatRatio(a.median / b.median) : "n/a",
                  valid ? formatRatio(a.low / b.high) + " - " + formatRatio(a.high / b.low) : "",
                  goal, goal.empty() ? "" : verdict(valid, valid && a.median / b.median <= limit)};
        lines.push_back(line);
    };
    const auto bytesRow = [&](const std::string &what, const std::string &name,
                              const std::string &key, const std::string &goal,
                              const std::function<bool(double)> &met) {
        const Stat s = counter(name, key);
        Line line{what, formatBytes(s.median), formatBytes(s.low) + " - " + formatBytes(s.high),
                  goal, met ? verdict(s.valid(), s.valid() && met(s.median)) : ""};
        if (!s.valid())
            line.median = "n/a (" + error(name) + ")";
        lines.push_back(line);
    };

    const auto heading = [&](const std::string &what) { lines.push_back({what, "", "", "", ""}); };
    heading("What a user waits for");
    timeRow("Device page first show, fresh process (everything cold)", "fresh/page", "", 0);
    timeRow("Device page first show, running host right after a network change", "changed/page", "",
            0);
    timeRow("Device page repeat show (same process, no change since the last show)", "repeat/page",
            "", 0);
    timeRow("SettingsPage::apply()", "pageApply", "", 0);
    timeRow("SettingsPage::restoreDefaults() with a widget (remove + reload)",
            "pageRestoreDefaults", "", 0);
    timeRow("plug-in start: dlopen uis_dev.plg, descriptor, factory, init", "pluginStart",
            "<= 2 ms", 2e-3);
    timeRow("studio --settings --dump: start to dialog shown and closed, CPU", "studio/cpu", "", 0);
    timeRow("minimal Qt program showing one dialog, CPU", "minimal/cpu", "", 0);
    ratioRow("  ratio studio / minimal program, CPU", "studio/cpu", "minimal/cpu", "<= 1.15x", 1.15);
    timeRow("studio --settings --dump, wall clock", "studio/wall", "", 0);
    timeRow("minimal Qt program showing one dialog, wall clock", "minimal/wall", "", 0);

    heading("Address scan (MachineInfo().localIpAddresses()) against Qt, taken in turns");
    timeRow("scan, first call in a fresh process", "fresh/scan", "", 0);
    timeRow("QNetworkInterface::allAddresses(), first call in a fresh process", "fresh/qt", "", 0);
    ratioRow("  ratio scan / Qt, fresh process", "fresh/scan", "fresh/qt", "<= 1.5x", 1.5);
    timeRow("scan right after a network change", "changed/scan", "", 0);
    timeRow("QNetworkInterface::allAddresses() right after a network change", "changed/qt", "", 0);
    ratioRow("  ratio scan / Qt, after a change", "changed/scan", "changed/qt", "<= 1.5x", 1.5);
    timeRow("scan repeated, no change (mean of 20 calls per sample)", "warm/scan", "", 0);
    timeRow("QNetworkInterface::allAddresses() repeated, no change", "warm/qt", "", 0);
    ratioRow("  ratio scan / Qt, repeated", "warm/scan", "warm/qt", "", 1e9);
    for (const char *count : {"10", "100", "1000"}) {
        const std::string n(count);
        timeRow("scan, fresh process in a namespace of " + n + " software interfaces",
                "netns/scan/" + n, "", 0);
        timeRow("QNetworkInterface::allAddresses(), same namespace", "netns/qt/" + n, "", 0);
        ratioRow("  ratio scan / Qt, " + n + " interfaces", "netns/scan/" + n, "netns/qt/" + n, "",
                 1e9);
    }
    ratioRow("  ratio scan 1000 / 100 interfaces (linear: 10x)", "netns/scan/1000",
             "netns/scan/100", "<= 12x", 12.0);
    timeRow("scripted scan, 10 adapters (sizes in turns, mean of 3 calls)", "scriptedScan/10", "",
            0);
    timeRow("scripted scan, 100 adapters", "scriptedScan/100", "", 0);
    timeRow("scripted scan, 1000 adapters", "scriptedScan/1000", "", 0);
    ratioRow("  ratio 1000 / 100 adapters (linear: 10x)", "scriptedScan/1000", "scriptedScan/100",
             "<= 12x", 12.0);
    timeRow("WQL parse + evaluate + drain: the adapter query", "wqlQuery", "", 0);

    heading("Memory");
    // Growth is counted from the end of the first cycle; a few hundred bytes
    // of allocator bookkeeping are not a leak, one page widget (tens of KiB)
    // per cycle would be.
    const auto noGrowth = [](double bytes) { return bytes <= 4096; };
    bytesRow("heap growth, 1000 widget()/releaseWidget(true)", "pageWidgetCycles", "heap_growth",
             "none (<= 4 KiB)", noGrowth);
    bytesRow("resident growth, 1000 widget()/releaseWidget(true)", "pageWidgetCycles", "rss_growth",
             "none (<= 4 KiB)", noGrowth);
    bytesRow("heap growth, 1000 plug-in load/init/release", "pluginCycles", "heap_growth",
             "none (<= 4 KiB)", noGrowth);
    bytesRow("resident growth, 1000 plug-in load/init/release", "pluginCycles", "rss_growth",
             "none (<= 4 KiB)", noGrowth);
    bytesRow("heap held by one loaded page widget", "pageWidgetHeap", "heap_held", "", nullptr);

    const Stat unloaded = counter("pluginStart", "unloaded");
    size_t widths[4] = {3, 6, 6, 4};
    for (const Line &l : lines) {
        if (l.median.empty())
            continue;
        widths[0] = std::max(widths[0], l.what.size());
        widths[1] = std::max(widths[1], l.median.size());
        widths[2] = std::max(widths[2], l.spread.size());
        widths[3] = std::max(widths[3], l.goal.size());
    }
    std::printf("%-*s | %*s | %*s | %-*s | %s\n", int(widths[0]), "row", int(widths[1]), "median",
                int(widths[2]), "min - max", int(widths[3]), "goal", "met");
    std::printf("%s\n",
                std::string(widths[0] + widths[1] + widths[2] + widths[3] + 18, '-').c_str());
    for (const Line &l : lines) {
        if (l.median.empty()) {
            std::printf("%s:\n", l.what.c_str());
            continue;
        }
        std::printf("%-*s | %*s | %*s | %-*s | %s\n", int(widths[0]), l.what.c_str(),
                    int(widths[1]), l.median.c_str(), int(widths[2]), l.spread.c_str(),
                    int(widths[3]), l.goal.c_str(), l.met.c_str());
    }
    if (unloaded.valid() && unloaded.median < 1)
        std::printf("note: dlclose kept uis_dev.plg loaded, so plug-in starts after the first "
                    "did not load the library again\n");
}
