#include "SeamState.h"

#include "TextFold.h"

#include <map>
#include <mutex>

namespace {

struct State
{
    std::mutex mutex;
    std::map<std::wstring, std::shared_ptr<const ClassTable>> scripts; // by folded class name
    std::vector<std::wstring> queries;
    std::vector<winapi_seam::ConnectCall> connects;
    bool securitySet = false;
    bool recording = false;
};

State &state()
{
    static State instance;
    return instance;
}

} // namespace

void SeamState::setScript(const std::wstring &className, std::shared_ptr<const ClassTable> table)
{
    const std::wstring key = TextFold::fold(className);
    State &s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    s.scripts[key] = std::move(table);
}

std::shared_ptr<const ClassTable> SeamState::script(const std::wstring &className)
{
    const std::wstring key = TextFold::fold(className);
    State &s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    const auto found = s.scripts.find(key);
    return found == s.scripts.end() ? nullptr : found->second;
}

void SeamState::logQuery(const std::wstring &query)
{
    State &s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    if (s.recording)
        s.queries.push_back(query);
}

std::vector<std::wstring> SeamState::queries()
{
    State &s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    return s.queries;
}

void SeamState::logConnect(const winapi_seam::ConnectCall &call)
{
    State &s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    if (s.recording)
        s.connects.push_back(call);
}

std::vector<winapi_seam::ConnectCall> SeamState::connects()
{
    State &s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    return s.connects;
}

void SeamState::setRecording(bool on)
{
    State &s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    s.recording = on;
}

bool SeamState::claimSecurity()
{
    State &s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    if (s.securitySet)
        return false;
    s.securitySet = true;
    return true;
}

void SeamState::reset()
{
    State &s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    s.scripts.clear();
    s.queries.clear();
    s.connects.clear();
    s.securitySet = false;
}
