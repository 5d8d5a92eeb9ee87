#pragma once

#include <benchmark/benchmark.h>

#include <QString>

#include <map>
#include <string>
#include <vector>

// Collects every repetition of every benchmark (quietly) and prints the one
// table of the run: median and min–max per row, ratios between rows of the
// same run, and each row's goal with whether it is met.
class BenchTable : public benchmark::BenchmarkReporter
{
public:
    bool ReportContext(const Context &context) override;
    void ReportRuns(const std::vector<Run> &runs) override;

    // Adds the iteration runs of another run of this program, written with
    // --benchmark_out_format=json; the reason when the file cannot be read.
    QString addJsonRuns(const QString &path);
    // Samples measured outside Google Benchmark (PairedBench), in seconds;
    // a non-empty `error` marks the row as not measured.
    void addSamples(const std::string &name, const std::vector<double> &seconds,
                    const std::string &error);

    void print() const;

private:
    struct Samples
    {
        std::vector<double> seconds; // real time per iteration, one per repetition
        std::map<std::string, std::vector<double>> counters;
        std::string error;
    };
    struct Stat
    {
        double median, low, high;
        bool valid() const;
    };
    struct Line
    {
        std::string what, median, spread, goal, met;
    };
    using Lines = std::vector<Line>;
    using Format = std::string (*)(double);

    const Samples *find(const std::string &name) const;
    Stat stat(const std::string &name) const;
    Stat counterStat(const std::string &name, const std::string &key) const;
    std::string error(const std::string &name) const;

    // A row of one measurement's samples; `limit` > 0 is the goal's bound.
    Line valueRow(const std::string &what, const std::string &name, Format format,
                  const std::string &goal = {}, double limit = 0) const;
    // The ratio of two medians; the spread is the widest ratio the samples allow.
    Line ratioRow(const std::string &what, const std::string &top, const std::string &bottom,
                  const std::string &goal = {}, double limit = 0) const;
    Line bytesRow(const std::string &what, const std::string &name, const std::string &key,
                  const std::string &goal = {}, double limit = 0) const;

    Lines pageRows() const;
    Lines twinRows() const;
    Lines scanRows() const;
    Lines scalingRows() const;
    Lines memoryRows() const;
    static void printLines(const Lines &lines);

    std::map<std::string, Samples> m_samples;
};
