#include "SeamState.h"

#include "TextFold.h"

#include <map>
#include <mutex>

namespace {

struct State
{
    std::map<std::wstring, std::shared_ptr<const ClassTable>> scripts; // by folded class name
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

void SeamState::setScript(const std::wstring &className, std::shared_ptr<const ClassTable> table)
{
    locked([&](State &s) { s.scripts[TextFold::fold(className)] = std::move(table); });
}

std::shared_ptr<const ClassTable> SeamState::script(const std::wstring &className)
{
    return locked([&](State &s) {
        const auto found = s.scripts.find(TextFold::fold(className));
        return found == s.scripts.end() ? nullptr : found->second;
    });
}

void SeamState::logQuery(const std::wstring &query)
{
    locked([&](State &s) {
        if (s.recording)
            s.queries.push_back(query);
    });
}

std::vector<std::wstring> SeamState::queries()
{
    return locked([](State &s) { return s.queries; });
}

void SeamState::logConnect(const winapi_seam::ConnectCall &call)
{
    locked([&](State &s) {
        if (s.recording)
            s.connects.push_back(call);
    });
}

std::vector<winapi_seam::ConnectCall> SeamState::connects()
{
    return locked([](State &s) { return s.connects; });
}

void SeamState::setRecording(bool on)
{
    locked([on](State &s) { s.recording = on; });
}

bool SeamState::claimSecurity()
{
    return locked([](State &s) { return !std::exchange(s.securitySet, true); });
}

void SeamState::reset()
{
    locked([](State &s) {
        const bool recording = s.recording;
        s = State();
        s.recording = recording;
    });
}
