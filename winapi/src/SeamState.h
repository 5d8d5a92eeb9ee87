#pragma once

#include "ClassTable.h"

#include <winapi/WinapiSeam.h>

#include <memory>
#include <string>

// What tests set up through the seam (its functions are defined beside this
// class) and what the stand-in asks of it: scripted rows, armed failures,
// the call logs and the process's security state, behind one lock.
class SeamState
{
public:
    // The scripted table of a class; null when it is not scripted.
    static std::shared_ptr<const ClassTable> script(const std::wstring &className);
    static void logQuery(const wchar_t *query);
    static void logConnect(const winapi_seam::ConnectCall &call);
    // True for the first call since start or reset: security is set then.
    static bool claimSecurity();
    // Counts one call of `step`; true (and the HRESULT to answer, if asked)
    // when this call is to fail.
    static bool shouldFail(winapi_seam::Step step, HRESULT *hr);
};
