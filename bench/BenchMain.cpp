// The project's benchmarks (see bench/run): Google Benchmark runs them with
// repetitions; BenchTable prints the table.
#include "BenchTable.h"
#include "PairedBench.h"
#include "TwinBench.h"

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
    if (argc == 3 && std::strcmp(argv[1], "--uis-child") == 0)
        return PairedBench::child(argv[2]);

    // Repetitions give each row a median and a spread; a row may ask for
    // fewer (the 1000-cycle memory rows).
    std::vector<char *> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=7";
    char minTime[] = "--benchmark_min_time=0.05";
    bool repetitionsGiven = false;
    bool paired = false;
    for (auto arg = args.begin(); arg != args.end();) {
        repetitionsGiven = repetitionsGiven || std::strstr(*arg, "--benchmark_repetitions") == *arg;
        // --uis-paired: also the rows PairedBench measures (bench/run's
        // timing pass).
        paired = paired || std::strcmp(*arg, "--uis-paired") == 0;
        arg = std::strcmp(*arg, "--uis-paired") == 0 ? args.erase(arg) : arg + 1;
    }
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
    if (paired) {
        PairedBench(QCoreApplication::applicationFilePath().toStdString(), table).run();
        TwinBench(table).run();
    }
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    table.print();
    return 0;
}
