#include "SeamState.h"

#include "Apartment.h"
#include "ClassCatalog.h"
#include "LiveCounts.h"
#include "TextFold.h"

#include <array>
#include <map>
#include <mutex>

namespace {

struct Fault
{
    HRESULT hr = S_OK;
    int afterCalls = 0;
    int times = 0; // calls left to fail; -1: all; 0: not armed
};

struct State
{
    std::map<std::wstring, std::shared_ptr<const ClassTable>> scripts; // by folded class name
    std::array<Fault, std::size_t(winapi_seam::Step::SysAllocString) + 1> faults;
    std::vector<std::wstring> queries;
    std::vector<winapi_seam::ConnectCall> connects;
    bool securitySet = false;
    bool recording = false;
};

std::mutex mutex;
State state;

// Runs `work` on the one state under its lock.
template<class Work>
auto locked(Work work)
{
    const std::lock_guard<std::mutex> lock(mutex);
    return work(state);
}

} // namespace

std::shared_ptr<const ClassTable> SeamState::script(const std::wstring &className)
{
    return locked([&](State &s) {
        // Folded only when there are scripts to look in: the machine's own
        // classes are asked for far more often than scripted ones.
        if (s.scripts.empty())
            return std::shared_ptr<const ClassTable>();
        const auto found = s.scripts.find(TextFold::fold(className));
        return found == s.scripts.end() ? nullptr : found->second;
    });
}

void SeamState::logQuery(const wchar_t *query)
{
    locked([&](State &s) {
        if (s.recording)
            s.queries.emplace_back(query);
    });
}

void SeamState::logConnect(const winapi_seam::ConnectCall &call)
{
    locked([&](State &s) {
        if (s.recording)
            s.connects.push_back(call);
    });
}

bool SeamState::claimSecurity()
{
    return locked([](State &s) { return !std::exchange(s.securitySet, true); });
}

bool SeamState::shouldFail(winapi_seam::Step step, HRESULT *hr)
{
    return locked([&](State &s) {
        Fault &fault = s.faults.at(std::size_t(step));
        if (fault.times == 0 || fault.afterCalls-- > 0)
            return false;
        fault.times -= fault.times > 0 ? 1 : 0;
        if (hr)
            *hr = fault.hr;
        return true;
    });
}

namespace winapi_seam {

void scriptRows(const std::wstring &className, const std::vector<Row> &rows)
{
    const auto table = ClassCatalog::script(className, rows);
    locked([&](State &s) { s.scripts[TextFold::fold(className)] = table; });
}

void failStep(Step step, HRESULT hr, int afterCalls, int times)
{
    locked([=](State &s) { s.faults.at(std::size_t(step)) = Fault{hr, afterCalls, times}; });
}

Counters counters()
{
    return Counters{LiveCounts::interfaces.load(), LiveCounts::bstrs.load(),
                    LiveCounts::safeArrays.load(), Apartment::depth()};
}

std::vector<std::wstring> executedQueries()
{
    return locked([](State &s) { return s.queries; });
}

std::vector<ConnectCall> connectCalls()
{
    return locked([](State &s) { return s.connects; });
}

void recordCalls(bool on)
{
    locked([on](State &s) { s.recording = on; });
}

void reset()
{
    locked([](State &s) { s = State{{}, {}, {}, {}, false, s.recording}; });
}

} // namespace winapi_seam
