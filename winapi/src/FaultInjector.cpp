#include "FaultInjector.h"

#include <array>
#include <mutex>

namespace {

struct Fault
{
    bool armed = false;
    HRESULT hr = S_OK;
    int afterCalls = 0;
    int times = 0;
};

constexpr std::size_t kStepCount = static_cast<std::size_t>(winapi_seam::Step::SysAllocString) + 1;

std::mutex &faultMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::array<Fault, kStepCount> &faults()
{
    static std::array<Fault, kStepCount> table;
    return table;
}

} // namespace

void FaultInjector::arm(winapi_seam::Step step, HRESULT hr, int afterCalls, int times)
{
    const std::lock_guard<std::mutex> lock(faultMutex());
    Fault &fault = faults().at(static_cast<std::size_t>(step));
    fault.armed = times != 0;
    fault.hr = hr;
    fault.afterCalls = afterCalls < 0 ? 0 : afterCalls;
    fault.times = times;
}

void FaultInjector::clear()
{
    const std::lock_guard<std::mutex> lock(faultMutex());
    faults().fill(Fault());
}

bool FaultInjector::shouldFail(winapi_seam::Step step, HRESULT *hr)
{
    const std::lock_guard<std::mutex> lock(faultMutex());
    Fault &fault = faults().at(static_cast<std::size_t>(step));
    if (!fault.armed)
        return false;
    if (fault.afterCalls > 0) {
        --fault.afterCalls;
        return false;
    }
    if (fault.times > 0 && --fault.times == 0)
        fault.armed = false;
    if (hr)
        *hr = fault.hr;
    return true;
}
