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
    const Samples *find(const std::string &name) const;

    std::map<std::string, Samples> m_samples;
};
