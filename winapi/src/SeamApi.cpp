#include "Apartment.h"
#include "ClassCatalog.h"
#include "FaultInjector.h"
#include "LiveCounts.h"
#include "SeamState.h"

namespace winapi_seam {

void scriptRows(const std::wstring &className, const std::vector<Row> &rows)
{
    SeamState::setScript(className, ClassCatalog::script(className, rows));
}

void failStep(Step step, HRESULT hr, int afterCalls, int times)
{
    FaultInjector::arm(step, hr, afterCalls, times);
}

Counters counters()
{
    return Counters{LiveCounts::interfaces.load(), LiveCounts::bstrs.load(),
                    LiveCounts::safeArrays.load(), Apartment::depth()};
}

std::vector<std::wstring> executedQueries() { return SeamState::queries(); }

std::vector<ConnectCall> connectCalls() { return SeamState::connects(); }

void recordCalls(bool on) { SeamState::setRecording(on); }

void reset()
{
    SeamState::reset();
    FaultInjector::clear();
}

} // namespace winapi_seam
