#include "PairedBench.h"

#include "BenchHost.h"
#include "BenchTable.h"
#include "Callgrind.h"
#include "ChildProcess.h"
#include "MeasuredCall.h"
#include "NetlinkFloor.h"
#include "settings/SettingsPage.h"
#include "wmi/MachineInfo.h"

#include <QNetworkInterface>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>

#include <stdlib.h>
#include <unistd.h>

namespace {

using Samples = std::vector<double>;

const int kFreshSamples = 15;
const int kInProcessSamples = 15;
const int kWarmCallsPerSample = 20;
const int kNamespaceSamples = 7;
const int kScriptedSamples = 9;
const int kScriptedCallsPerSample = 3;

double secondsOf(const std::function<void()> &work) { return MeasuredCall::seconds(work); }

bool ip(const std::vector<std::string> &arguments) { return ChildProcess::run("ip", arguments).ok; }

// A network change the kernel announces: an address on the loopback
// interface, added and removed in turn (the page never lists loopback).
class NetworkChange
{
public:
    NetworkChange() { m_possible = ::geteuid() == 0 && toggle(); }
    ~NetworkChange()
    {
        if (m_added)
            toggle();
    }
    NetworkChange(const NetworkChange &) = delete;
    NetworkChange &operator=(const NetworkChange &) = delete;

    bool possible() const { return m_possible; }
    bool toggle()
    {
        const bool done = ip({"address", m_added ? "del" : "add", "127.0.0.77/8", "dev", "lo"});
        m_added = done ? !m_added : m_added;
        return done;
    }

private:
    bool m_possible = false;
    bool m_added = false;
};

// A network namespace of this run with software interfaces (ifb: one
// interface per device, like dummy, which not every kernel has), each up
// with an address; deleted with the object.
class DummyNamespace
{
public:
    DummyNamespace()
        : m_name("uisbench-" + std::to_string(::getpid()))
    {
        m_ok = ::geteuid() == 0 && ip({"netns", "add", m_name}) &&
                ip({"-n", m_name, "link", "set", "lo", "up"});
    }
    ~DummyNamespace()
    {
        if (m_ok)
            ip({"netns", "del", m_name});
    }
    DummyNamespace(const DummyNamespace &) = delete;
    DummyNamespace &operator=(const DummyNamespace &) = delete;

    const std::string &name() const { return m_name; }
    bool ok() const { return m_ok; }

    // Grows the namespace to `count` interfaces besides loopback.
    bool growTo(int count)
    {
        const std::string batch = "/tmp/" + m_name + ".batch";
        {
            std::ofstream file(batch);
            for (int i = m_count; i < count; ++i) {
                const std::string name = "d" + std::to_string(i);
                file << "link add " << name << " type ifb\n"
                     << "address add 10." << i / 256 << '.' << i % 256 << ".1/24 dev " << name
                     << "\nlink set " << name << " up\n";
            }
        }
        m_ok = m_ok && ip({"-n", m_name, "-b", batch});
        ::unlink(batch.c_str());
        m_count = m_ok ? count : m_count;
        return m_ok;
    }

private:
    std::string m_name;
    bool m_ok = false;
    int m_count = 0;
};

// Scripted adapters, each connected with one address, for the address list
// to walk through.
void scriptAdapters(int count)
{
    using winapi_seam::Row;
    using winapi_seam::Value;
    std::vector<Row> adapters, configurations;
    for (int i = 0; i < count; ++i) {
        const std::wstring address = L"10." + std::to_wstring(i / 65536) + L"." +
                std::to_wstring(i / 256 % 256) + L"." + std::to_wstring(i % 256);
        adapters.push_back({{L"MACAddress", Value::text(L"02:00:00:00:" + std::to_wstring(i))},
                            {L"Index", Value::int32(i)},
                            {L"NetConnectionStatus", Value::int32(2)},
                            {L"PNPDeviceID", Value::text(L"PCI\\VEN_" + std::to_wstring(i))}});
        configurations.push_back(
                {{L"Index", Value::int32(i)}, {L"IPAddress", Value::textArray({address})}});
    }
    winapi_seam::scriptRows(L"Win32_NetworkAdapter", adapters);
    winapi_seam::scriptRows(L"Win32_NetworkAdapterConfiguration", configurations);
}

// The seconds a child printed, or a negative number.
double childSeconds(const ChildProcess::Result &result)
{
    double seconds = -1;
    if (!result.ok || std::sscanf(result.output.c_str(), "%lf", &seconds) != 1)
        return -1;
    return seconds;
}

} // namespace

PairedBench::PairedBench(std::string self, BenchTable &table)
    : m_self(std::move(self))
    , m_table(table)
{ }

int PairedBench::child(const std::string &mode)
{
    double seconds = -1;
    if (mode == "scan") {
        seconds = secondsOf([] { MachineInfo().localIpAddresses(); });
    } else if (mode == "qt") {
        seconds = secondsOf([] { QNetworkInterface::allAddresses(); });
    } else if (mode == "floor") {
        seconds = secondsOf([] { NetlinkFloor::dumpAll(); });
    } else if (mode.rfind("scripted-", 0) == 0) {
        // A warm scan of the scripted adapters: what grows with their number.
        const int count = std::atoi(mode.c_str() + 9);
        scriptAdapters(count);
        MachineInfo().localIpAddresses();
        seconds = secondsOf([] { MachineInfo().localIpAddresses(); });
    } else if (mode == "page") {
        BenchHost host;
        storeSomeValues(*host.peers);
        SettingsPage page;
        seconds = secondsOf([&page] { page.widget(nullptr); });
        page.releaseWidget(true);
    } else {
        std::fprintf(stderr, "uis_bench: unknown child mode %s\n", mode.c_str());
        return 2;
    }
    std::printf("%.9f\n", seconds);
    return 0;
}

void PairedBench::run()
{
    freshProcessRows();
    inProcessRows();
    namespaceRows();
    scriptedRows();
}

void PairedBench::freshProcessRows()
{
    std::map<std::string, Samples> samples;
    std::string error;
    for (int i = 0; i < kFreshSamples && error.empty(); ++i) {
        // Turns about, so neither side always runs right after the other.
        const std::vector<std::string> order = i % 2
                ? std::vector<std::string>{"qt", "floor", "scan", "page"}
                : std::vector<std::string>{"page", "scan", "floor", "qt"};
        for (const std::string &mode : order) {
            const double seconds = childSeconds(ChildProcess::run(m_self, {"--uis-child", mode}));
            if (seconds < 0)
                error = "a child process failed";
            samples["fresh/" + mode].push_back(seconds);
        }
    }
    for (const auto &entry : samples)
        m_table.addSamples(entry.first, entry.second, error);
    for (const char *mode : {"scan", "qt"})
        addInstructions(std::string("instructions/") + mode, {m_self}, mode);
}

void PairedBench::addInstructions(const std::string &row, std::vector<std::string> command,
                                  const std::string &mode)
{
    command.insert(command.end(), {"--uis-child", mode});
    const double count = Callgrind::instructions(command, "MeasuredCall::seconds*");
    m_table.addSamples(row, {count}, count < 0 ? "needs valgrind" : "");
}

void PairedBench::inProcessRows()
{
    BenchHost host;
    storeSomeValues(*host.peers);
    SettingsPage page;
    page.widget(nullptr);
    page.releaseWidget(true);
    NetworkChange change;
    const std::string noChange =
            change.possible() ? "" : "needs root and ip(8) to change an address";
    Samples pageChanged, pageRepeat, scanChanged, qtChanged, scanWarm, qtWarm;
    const auto scan = [] { MachineInfo().localIpAddresses(); };
    const auto qt = [] { QNetworkInterface::allAddresses(); };
    const auto warm = [](const std::function<void()> &call) {
        call();
        double total = 0;
        for (int i = 0; i < kWarmCallsPerSample; ++i)
            total += secondsOf(call);
        return total / kWarmCallsPerSample;
    };
    for (int i = 0; i < kInProcessSamples; ++i) {
        if (change.possible()) {
            change.toggle();
            pageChanged.push_back(secondsOf([&page] { page.widget(nullptr); }));
            page.releaseWidget(true);
            change.toggle();
            (i % 2 ? qtChanged : scanChanged).push_back(secondsOf(i % 2 ? qt : scan));
            change.toggle();
            (i % 2 ? scanChanged : qtChanged).push_back(secondsOf(i % 2 ? scan : qt));
        }
        page.widget(nullptr);
        page.releaseWidget(true);
        pageRepeat.push_back(secondsOf([&page] { page.widget(nullptr); }));
        page.releaseWidget(true);
        scanWarm.push_back(warm(scan));
        qtWarm.push_back(warm(qt));
    }
    m_table.addSamples("changed/page", pageChanged, noChange);
    m_table.addSamples("changed/scan", scanChanged, noChange);
    m_table.addSamples("changed/qt", qtChanged, noChange);
    m_table.addSamples("repeat/page", pageRepeat, "");
    m_table.addSamples("warm/scan", scanWarm, "");
    m_table.addSamples("warm/qt", qtWarm, "");
}

void PairedBench::namespaceRows()
{
    DummyNamespace space;
    for (const int count : {10, 100, 1000}) {
        std::map<std::string, Samples> samples;
        std::string error =
                space.growTo(count) ? "" : "needs root and ip(8) for a network namespace";
        for (int i = 0; i < kNamespaceSamples && error.empty(); ++i) {
            for (const char *mode : i % 2 ? std::vector<const char *>{"qt", "floor", "scan"}
                                          : std::vector<const char *>{"scan", "floor", "qt"}) {
                const double seconds =
                        childSeconds(ChildProcess::run("ip",
                                                       {"netns", "exec", space.name(), m_self,
                                                        "--uis-child", mode}));
                if (seconds < 0)
                    error = "a child process failed";
                samples[mode].push_back(seconds);
            }
        }
        for (const char *mode : {"scan", "qt", "floor"})
            m_table.addSamples("netns/" + std::string(mode) + "/" + std::to_string(count),
                               samples[mode], error);
        if (count >= 100 && error.empty())
            addInstructions("instructions/netns/" + std::to_string(count),
                            {"ip", "netns", "exec", space.name(), m_self}, "scan");
    }
}

void PairedBench::scriptedRows()
{
    // The sizes in turns, so that the machine's drift meets all of them.
    BenchHost host;
    std::map<int, Samples> samples;
    std::string error;
    for (int i = 0; i < kScriptedSamples && error.empty(); ++i) {
        for (const int count :
             i % 2 ? std::vector<int>{1000, 100, 10} : std::vector<int>{10, 100, 1000}) {
            scriptAdapters(count);
            int found = 0;
            const double seconds = secondsOf([&found] {
                for (int call = 0; call < kScriptedCallsPerSample; ++call)
                    found = MachineInfo().localIpAddresses().size();
            });
            if (found != count)
                error = "the scan did not list every scripted adapter";
            samples[count].push_back(seconds / kScriptedCallsPerSample);
        }
    }
    for (const auto &entry : samples)
        m_table.addSamples("scriptedScan/" + std::to_string(entry.first), entry.second, error);
    for (const char *count : {"100", "1000"})
        addInstructions(std::string("instructions/scripted/") + count, {m_self},
                        std::string("scripted-") + count);
}
