#pragma once

#include "ClassTable.h"

#include <winapi/WinapiSeam.h>

#include <memory>
#include <string>
#include <vector>

// What tests set up through the seam and what the stand-in logs for them:
// scripted rows, the query and connection logs and the process's security
// state. Guarded by one mutex; every accessor copies (scripted tables are
// shared: they never change once made).
class SeamState
{
public:
    static void setScript(const std::wstring &className, std::shared_ptr<const ClassTable> table);
    // The scripted table of a class; null when it is not scripted.
    static std::shared_ptr<const ClassTable> script(const std::wstring &className);

    static void logQuery(const std::wstring &query);
    static std::vector<std::wstring> queries();
    static void logConnect(const winapi_seam::ConnectCall &call);
    static std::vector<winapi_seam::ConnectCall> connects();
    static void setRecording(bool on);

    // True for the first call since start or reset: security is set then.
    static bool claimSecurity();

    static void reset();
};
