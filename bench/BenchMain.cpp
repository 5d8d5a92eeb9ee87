// The project's benchmarks (see bench/run): Google Benchmark runs them with
// repetitions; BenchTable prints the table.
#include "BenchTable.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    // Repetitions give each row a median and a spread; a row may ask for
    // fewer (the 1000-cycle memory rows).
    std::vector<char *> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=7";
    char minTime[] = "--benchmark_min_time=0.05";
    bool repetitionsGiven = false;
    for (char *arg : args)
        repetitionsGiven = repetitionsGiven || std::strstr(arg, "--benchmark_repetitions") == arg;
    if (!repetitionsGiven) {
        args.push_back(repetitions);
        args.push_back(minTime);
    }
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 2;

    BenchTable table;
    // bench/run measures the heap rows in a run of their own (see there).
    const QString memoryRuns = qEnvironmentVariable("UIS_BENCH_MEMORY_RUNS");
    if (!memoryRuns.isEmpty()) {
        const QString error = table.addJsonRuns(memoryRuns);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "bench: cannot read the memory rows from %s: %s\n",
                         qPrintable(memoryRuns), qPrintable(error));
            return 1;
        }
    }
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    table.print();
    return 0;
}
