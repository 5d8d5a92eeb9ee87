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
#include <limits>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Median, lowest and highest; NaN for no values.
void summarize(std::vector<double> values, double *median, double *low, double *high)
{
    *median = *low = *high = kNaN;
    if (values.empty())
        return;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    *median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    *low = values.front();
    *high = values.back();
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

std::string formatCount(double count)
{
    char text[32];
    if (std::isnan(count))
        return "n/a";
    if (count >= 1e6)
        std::snprintf(text, sizeof text, "%.2f M", count / 1e6);
    else
        std::snprintf(text, sizeof text, "%.1f k", count / 1e3);
    return text;
}

// A count of differences: none is the goal.
std::string formatSame(double differences)
{
    return std::isnan(differences) ? "n/a" : differences < 0.5 ? "identical" : "DIFFERENT";
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

bool BenchTable::Stat::valid() const { return !std::isnan(median); }

BenchTable::Stat BenchTable::stat(const std::string &name) const
{
    Stat s;
    const Samples *samples = find(name);
    summarize(samples ? samples->seconds : std::vector<double>(), &s.median, &s.low, &s.high);
    return s;
}

BenchTable::Stat BenchTable::counterStat(const std::string &name, const std::string &key) const
{
    Stat s;
    const Samples *samples = find(name);
    const bool has = samples && samples->counters.count(key);
    summarize(has ? samples->counters.at(key) : std::vector<double>(), &s.median, &s.low, &s.high);
    return s;
}

std::string BenchTable::error(const std::string &name) const
{
    const Samples *s = find(name);
    return s ? s->error : std::string("not run");
}

namespace {

std::string verdict(bool valid, bool met) { return !valid ? "n/a" : met ? "yes" : "NO"; }

} // namespace

BenchTable::Line BenchTable::valueRow(const std::string &what, const std::string &name,
                                      Format format, const std::string &goal, double limit) const
{
    const Stat s = stat(name);
    Line line{what, format(s.median), format(s.low) + " - " + format(s.high), goal, ""};
    if (!s.valid())
        line.median = "n/a (" + error(name) + ")";
    line.met = limit > 0 ? verdict(s.valid(), s.median <= limit) : "";
    return line;
}

BenchTable::Line BenchTable::ratioRow(const std::string &what, const std::string &top,
                                      const std::string &bottom, const std::string &goal,
                                      double limit) const
{
    const Stat a = stat(top), b = stat(bottom);
    const bool valid = a.valid() && b.valid();
    return Line{what, valid ? formatRatio(a.median / b.median) : "n/a",
                valid ? formatRatio(a.low / b.high) + " - " + formatRatio(a.high / b.low) : "",
                goal, limit > 0 ? verdict(valid, valid && a.median / b.median <= limit) : ""};
}

BenchTable::Line BenchTable::bytesRow(const std::string &what, const std::string &name,
                                      const std::string &key, const std::string &goal,
                                      double limit) const
{
    const Stat s = counterStat(name, key);
    Line line{what, formatBytes(s.median), formatBytes(s.low) + " - " + formatBytes(s.high), goal,
              limit > 0 ? verdict(s.valid(), s.valid() && s.median <= limit) : ""};
    if (!s.valid())
        line.median = "n/a (" + error(name) + ")";
    return line;
}

BenchTable::Lines BenchTable::pageRows() const
{
    return {
            {"What a user waits for", "", "", "", ""},
            valueRow("cold: Device page first show, fresh process", "fresh/page", formatTime),
            valueRow("warm: Device page first show right after a network change", "changed/page",
                     formatTime),
            valueRow("warm: Device page repeat show, no change since the last", "repeat/page",
                     formatTime),
            valueRow("warm: SettingsPage::apply()", "pageApply", formatTime),
            valueRow("warm: SettingsPage::restoreDefaults() with a widget (remove + reload)",
                     "pageRestoreDefaults", formatTime),
            valueRow("warm (file cached): plug-in start: dlopen, descriptor, factory, init",
                     "pluginStart", formatTime, "<= 2 ms", 2e-3),
    };
}

BenchTable::Lines BenchTable::twinRows() const
{
    return {
            {"cold: studio --settings --dump against its static twin (the same dialog and Device "
             "page from the project's forms; no plug-in, stores or scan), fresh processes in turns",
             "", "", "", ""},
            valueRow("the twin's screenshot byte-identical to the studio's", "twin/screenshot",
                     formatSame, "identical", 0.5),
            valueRow("studio, whole process, instructions (callgrind)", "instructions/studio",
                     formatCount),
            valueRow("static twin, whole process, instructions", "instructions/twin", formatCount),
            ratioRow("  ratio studio / twin, whole-process instructions", "instructions/studio",
                     "instructions/twin", "<= 1.025x", 1.025),
            valueRow("studio, dialog made, Device page first shown, closed: instructions",
                     "instructions/studio-dialog", formatCount),
            valueRow("static twin, the same", "instructions/twin-dialog", formatCount),
            ratioRow("  ratio studio / twin, page first show instructions",
                     "instructions/studio-dialog", "instructions/twin-dialog", "<= 1.015x", 1.015),
            valueRow("studio, CPU (user + system)", "studio/cpu", formatTime),
            valueRow("static twin, CPU", "twin/cpu", formatTime),
            ratioRow("  ratio studio / twin, CPU", "studio/cpu", "twin/cpu", "<= 1.06x", 1.06),
            valueRow("studio, peak resident memory", "studio/peak", formatBytes),
            valueRow("static twin, peak resident memory", "twin/peak", formatBytes),
            ratioRow("  ratio studio / twin, peak memory", "studio/peak", "twin/peak", "<= 1.06x",
                     1.06),
            valueRow("studio, wall clock", "studio/wall", formatTime),
            valueRow("static twin, wall clock", "twin/wall", formatTime),
    };
}

BenchTable::Lines BenchTable::scanRows() const
{
    return {
            {"Address scan (MachineInfo().localIpAddresses()) against Qt, taken in turns", "", "",
             "", ""},
            valueRow("cold: scan, first call in a fresh process", "fresh/scan", formatTime),
            valueRow("cold: QNetworkInterface::allAddresses(), first call in a fresh process",
                     "fresh/qt", formatTime),
            valueRow("cold: netlink floor (one socket, link and address dumps), fresh process",
                     "fresh/floor", formatTime),
            ratioRow("  ratio scan / Qt, fresh process", "fresh/scan", "fresh/qt", "<= 1.5x", 1.5),
            ratioRow("  ratio scan / netlink floor, fresh process", "fresh/scan", "fresh/floor",
                     "<= 2.5x", 2.5),
            valueRow("cold: scan, first call in a fresh process, instructions (callgrind)",
                     "instructions/scan", formatCount),
            valueRow("cold: QNetworkInterface::allAddresses(), the same, instructions",
                     "instructions/qt", formatCount),
            ratioRow("  ratio scan / Qt, instructions", "instructions/scan", "instructions/qt",
                     "<= 3.0x", 3.0),
            valueRow("warm: scan right after a network change", "changed/scan", formatTime),
            valueRow("warm: QNetworkInterface::allAddresses() right after a network change",
                     "changed/qt", formatTime),
            ratioRow("  ratio scan / Qt, after a change", "changed/scan", "changed/qt", "<= 1.5x",
                     1.5),
            valueRow("warm: scan repeated, no change (mean of 20 calls per sample)", "warm/scan",
                     formatTime),
            valueRow("warm: QNetworkInterface::allAddresses() repeated, no change", "warm/qt",
                     formatTime),
            ratioRow("  ratio scan / Qt, repeated", "warm/scan", "warm/qt"),
    };
}

BenchTable::Lines BenchTable::scalingRows() const
{
    Lines lines{{"Scaling: 100 against 1000 interfaces or adapters", "", "", "", ""}};
    for (const char *count : {"10", "100", "1000"}) {
        const std::string n(count);
        lines.push_back(valueRow("cold: scan, fresh process in a namespace of " + n +
                                         " software interfaces",
                                 "netns/scan/" + n, formatTime));
        lines.push_back(valueRow("cold: QNetworkInterface::allAddresses(), same namespace",
                                 "netns/qt/" + n, formatTime));
        lines.push_back(
                valueRow("cold: netlink floor, same namespace", "netns/floor/" + n, formatTime));
    }
    Lines ratios{
            ratioRow("  ratio scan 1000 / 100 interfaces, time", "netns/scan/1000",
                     "netns/scan/100"),
            ratioRow("  ratio netlink floor 1000 / 100 interfaces, time (the kernel's own)",
                     "netns/floor/1000", "netns/floor/100"),
            ratioRow("  ratio scan 1000 / 100 interfaces, instructions (linear: 10x)",
                     "instructions/netns/1000", "instructions/netns/100", "<= 10.5x", 10.5),
            valueRow("warm: scripted scan, 10 adapters (sizes in turns, mean of 3 calls)",
                     "scriptedScan/10", formatTime),
            valueRow("warm: scripted scan, 100 adapters", "scriptedScan/100", formatTime),
            valueRow("warm: scripted scan, 1000 adapters", "scriptedScan/1000", formatTime),
            ratioRow("  ratio 1000 / 100 adapters, time", "scriptedScan/1000", "scriptedScan/100"),
            ratioRow("  ratio 1000 / 100 adapters, instructions (linear: 10x)",
                     "instructions/scripted/1000", "instructions/scripted/100", "<= 10.5x", 10.5),
            valueRow("warm: WQL parse + evaluate + drain: the adapter query", "wqlQuery",
                     formatTime),
    };
    lines.insert(lines.end(), ratios.begin(), ratios.end());
    return lines;
}

BenchTable::Lines BenchTable::memoryRows() const
{
    // Growth is counted from the end of the first cycle; a few hundred bytes
    // of allocator bookkeeping are not a leak, one page widget (tens of KiB)
    // per cycle would be.
    const std::string none = "none (<= 4 KiB)";
    return {
            {"Memory", "", "", "", ""},
            bytesRow("warm: heap growth, 1000 widget()/releaseWidget(true)", "pageWidgetCycles",
                     "heap_growth", none, 4096),
            bytesRow("warm: resident growth, 1000 widget()/releaseWidget(true)", "pageWidgetCycles",
                     "rss_growth", none, 4096),
            bytesRow("warm: heap growth, 1000 plug-in load/init/release", "pluginCycles",
                     "heap_growth", none, 4096),
            bytesRow("warm: resident growth, 1000 plug-in load/init/release", "pluginCycles",
                     "rss_growth", none, 4096),
            bytesRow("warm: heap held by one loaded page widget", "pageWidgetHeap", "heap_held"),
    };
}

void BenchTable::printLines(const Lines &lines)
{
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
        if (l.median.empty())
            std::printf("%s:\n", l.what.c_str());
        else
            std::printf("%-*s | %*s | %*s | %-*s | %s\n", int(widths[0]), l.what.c_str(),
                        int(widths[1]), l.median.c_str(), int(widths[2]), l.spread.c_str(),
                        int(widths[3]), l.goal.c_str(), l.met.c_str());
    }
}

void BenchTable::print() const
{
    std::fprintf(stderr, "\n");
    Lines lines;
    for (const Lines &section : {pageRows(), twinRows(), scanRows(), scalingRows(), memoryRows()})
        lines.insert(lines.end(), section.begin(), section.end());
    printLines(lines);
    const Stat unloaded = counterStat("pluginStart", "unloaded");
    if (unloaded.valid() && unloaded.median < 1)
        std::printf("note: dlclose kept uis_dev.plg loaded, so plug-in starts after the first "
                    "did not load the library again\n");
}
