#include "NetworkClassCache.h"

#include "NetlinkMonitor.h"
#include "NetworkAdapterProvider.h"
#include "NetworkInterfaces.h"

#include <mutex>

namespace {

using Table = std::shared_ptr<const PreparedTable>;

// One reading of the interfaces and the class tables made from it, each
// made the first time a query asks for its class.
struct Snapshot
{
    bool read = false;
    std::vector<NetworkInterface> interfaces;
    Table adapters;
    Table configurations;
};

struct Cache
{
    std::mutex mutex;
    std::unique_ptr<NetlinkMonitor> monitor; // null: nothing may be kept
    Snapshot snapshot;
};

Cache &cache()
{
    static Cache instance;
    return instance;
}

} // namespace

Table NetworkClassCache::adapters() { return table(NetworkClass::Adapter); }

Table NetworkClassCache::configurations() { return table(NetworkClass::Configuration); }

Table NetworkClassCache::table(NetworkClass which)
{
    const auto make = [which](const std::vector<NetworkInterface> &interfaces) {
        return which == NetworkClass::Adapter
                ? PreparedTable::make(L"Win32_NetworkAdapter",
                                      NetworkAdapterProvider::adapterColumns(),
                                      NetworkAdapterProvider::adapterRows(interfaces))
                : PreparedTable::make(L"Win32_NetworkAdapterConfiguration",
                                      NetworkAdapterProvider::configurationColumns(),
                                      NetworkAdapterProvider::configurationRows(interfaces));
    };

    Cache &c = cache();
    const std::lock_guard<std::mutex> lock(c.mutex);
    if (c.monitor && (!c.monitor->isHealthy() || !c.monitor->watchesCaller()))
        c.monitor.reset();
    if (!c.monitor) {
        // The monitor must exist before the reading it vouches for.
        c.snapshot = Snapshot();
        c.monitor = NetlinkMonitor::open();
        if (!c.monitor)
            return make(NetworkInterfaces::read());
    }
    if (c.monitor->drain())
        c.snapshot = Snapshot();
    if (!c.snapshot.read) {
        c.snapshot.interfaces = NetworkInterfaces::read();
        c.snapshot.read = true;
    }
    Table &kept = which == NetworkClass::Adapter ? c.snapshot.adapters : c.snapshot.configurations;
    if (!kept)
        kept = make(c.snapshot.interfaces);
    return kept;
}
