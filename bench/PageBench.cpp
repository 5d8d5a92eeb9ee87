// The Device page: apply, restore defaults, and its memory (its first and
// repeat shows are PairedBench rows).
#include "BenchHost.h"
#include "MemoryProbe.h"
#include "settings/SettingsPage.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

void setManualTime(benchmark::State &state, Clock::time_point start)
{
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
}

void pageApply(benchmark::State &state)
{
    BenchHost host;
    storeSomeValues(*host.peers);
    SettingsPage page;
    page.widget(nullptr);
    for (auto _ : state)
        benchmark::DoNotOptimize(page.apply());
}
BENCHMARK(pageApply)->Unit(benchmark::kMicrosecond);

// Removes the twelve entries and reloads the widget (another address scan).
void pageRestoreDefaults(benchmark::State &state)
{
    BenchHost host;
    SettingsPage page;
    page.widget(nullptr);
    for (auto _ : state) {
        storeSomeValues(*host.peers);
        const auto start = Clock::now();
        page.restoreDefaults();
        setManualTime(state, start);
    }
}
BENCHMARK(pageRestoreDefaults)->UseManualTime()->Unit(benchmark::kMillisecond);

// Growth of heap and resident size over 1000 widget()/releaseWidget(true)
// cycles, counted from the end of the first cycle.
void pageWidgetCycles(benchmark::State &state)
{
    BenchHost host;
    storeSomeValues(*host.peers);
    SettingsPage page;
    for (auto _ : state) {
        page.widget(nullptr);
        page.releaseWidget(true);
        const double heap = heapInUse();
        const double resident = residentBytes();
        for (int i = 1; i < 1000; ++i) {
            page.widget(nullptr);
            page.releaseWidget(true);
        }
        state.counters["heap_growth"] = heapInUse() - heap;
        state.counters["rss_growth"] = residentBytes() - resident;
    }
}
BENCHMARK(pageWidgetCycles)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);

// Heap held by one loaded page widget.
void pageWidgetHeap(benchmark::State &state)
{
    BenchHost host;
    storeSomeValues(*host.peers);
    SettingsPage page;
    page.widget(nullptr);
    page.releaseWidget(true);
    for (auto _ : state) {
        const double before = heapInUse();
        page.widget(nullptr);
        state.counters["heap_held"] = heapInUse() - before;
        page.releaseWidget(true);
    }
}
BENCHMARK(pageWidgetHeap)->Iterations(1)->Unit(benchmark::kMicrosecond);

} // namespace
