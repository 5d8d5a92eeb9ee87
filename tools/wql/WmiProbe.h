#pragma once

#include "wmi/WmiPlatform.h"

#include <QString>

// Why did it fail? WMIConnection answers failure only as false or an empty
// list, which is right for the plug-in but says nothing to a person at a
// prompt. The probe repeats the same steps on its own and records the first
// call that fails and its HRESULT.
class WmiProbe
{
public:
    struct Result
    {
        bool failed = false;
        QString call; // e.g. "IWbemServices::ExecQuery"
        HRESULT hr = S_OK;
    };

    // Connects to the local namespace like WMIConnection::connect().
    static Result probeConnect();
    // Connects, runs `wql` and fetches every row, as WMIConnection::query().
    static Result probeQuery(const QString &wql);

private:
    static Result run(const QString *wql);
};
