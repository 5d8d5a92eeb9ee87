#pragma once

#include <winapi/WinapiSeam.h>

#include <string>
#include <vector>

// What tests set up through the seam and what the stand-in logs for them:
// scripted rows, the query and connection logs and the process's security
// state. Guarded by one mutex; every accessor copies.
class SeamState
{
public:
    static void setScript(const std::wstring &className, const std::vector<winapi_seam::Row> &rows);
    // The scripted rows of a class and the name it was scripted under.
    static bool script(const std::wstring &className, std::wstring *scriptedName,
                       std::vector<winapi_seam::Row> *rows);

    static void logQuery(const std::wstring &query);
    static std::vector<std::wstring> queries();
    static void logConnect(const winapi_seam::ConnectCall &call);
    static std::vector<winapi_seam::ConnectCall> connects();
    static void setRecording(bool on);

    // True for the first call since start or reset: security is set then.
    static bool claimSecurity();

    static void reset();
};
