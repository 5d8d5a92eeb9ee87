#pragma once

#include <winapi/WinapiSeam.h>

// Failures armed through the seam, one per step.
class FaultInjector
{
public:
    static void arm(winapi_seam::Step step, HRESULT hr, int afterCalls, int times);
    static void clear();
    // Counts one call of `step`; true (and the HRESULT to answer) when this
    // call is to fail.
    static bool shouldFail(winapi_seam::Step step, HRESULT *hr);
};
