// The plug-in's start as the host does it, and its memory over many starts.
#include "BenchHost.h"
#include "MemoryProbe.h"
#include "host/ModuleRef.h"

#include <benchmark/benchmark.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <dlfcn.h>

#include <chrono>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;
using Descriptor = const char *(*)();
using Factory = orvane::ModuleRef *(*)(FlagRegistry *);

// Load the library, read its descriptor, call the factory it names and
// init the module. Returns the library handle and the module handle.
struct Started
{
    void *library = nullptr;
    std::unique_ptr<orvane::ModuleRef> module;
};

Started startPlugin()
{
    Started started;
    started.library = dlopen(UIS_DEV_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    if (!started.library)
        return started;
    const auto info = reinterpret_cast<Descriptor>(dlsym(started.library, "VD_GetPluginInfo"));
    const QJsonObject descriptor = QJsonDocument::fromJson(info()).object();
    const QByteArray entry = descriptor.value(QStringLiteral("module_entry")).toString().toLatin1();
    const auto factory = reinterpret_cast<Factory>(dlsym(started.library, entry.constData()));
    orvane::StudioApplication &app = orvane::StudioApplication::instance();
    started.module.reset(factory(&app.flags()));
    started.module->module()->init(app);
    return started;
}

// The host's shutdown: the dialog drops the page, the module goes, then the
// library. True when the library really left the process.
bool stopPlugin(Started &started, BenchHost &host)
{
    host.peers->uisManager->pages().clear();
    started.module.reset();
    dlclose(started.library);
    void *still = dlopen(UIS_DEV_PLUGIN, RTLD_NOW | RTLD_NOLOAD);
    if (still)
        dlclose(still);
    return still == nullptr;
}

void pluginStart(benchmark::State &state)
{
    BenchHost host;
    bool unloaded = true;
    for (auto _ : state) {
        const auto start = Clock::now();
        Started started = startPlugin();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (!started.library || !started.module) {
            state.SkipWithError(dlerror());
            break;
        }
        unloaded = stopPlugin(started, host) && unloaded;
    }
    // 0 means dlclose kept the library, so later starts skipped the loading.
    state.counters["unloaded"] = unloaded ? 1 : 0;
}
BENCHMARK(pluginStart)->UseManualTime()->Unit(benchmark::kMillisecond);

// Growth of heap and resident size over 1000 load/init/release cycles,
// counted from the end of the first cycle.
void pluginCycles(benchmark::State &state)
{
    BenchHost host;
    for (auto _ : state) {
        Started first = startPlugin();
        if (!first.library || !first.module) {
            state.SkipWithError(dlerror());
            break;
        }
        stopPlugin(first, host);
        const double heap = heapInUse();
        const double resident = residentBytes();
        for (int i = 1; i < 1000; ++i) {
            Started started = startPlugin();
            stopPlugin(started, host);
        }
        state.counters["heap_growth"] = heapInUse() - heap;
        state.counters["rss_growth"] = residentBytes() - resident;
    }
}
BENCHMARK(pluginCycles)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);

} // namespace
