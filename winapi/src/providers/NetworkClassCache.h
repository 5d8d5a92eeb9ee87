#pragma once

#include "PreparedTable.h"

#include <memory>

// The rows of the network classes, kept from one query to the next while a
// NetlinkMonitor reports no change to links or addresses. Any notification,
// lost notifications, a socket that cannot be opened, a forked process or
// a thread in another network namespace mean the machine is read afresh,
// so every answer holds every change the kernel announced before the query.
// Thread-safe.
class NetworkClassCache
{
public:
    // Win32_NetworkAdapter's rows.
    static std::shared_ptr<const PreparedTable> adapters();
    // Win32_NetworkAdapterConfiguration's rows.
    static std::shared_ptr<const PreparedTable> configurations();

private:
    enum class NetworkClass { Adapter, Configuration };
    static std::shared_ptr<const PreparedTable> table(NetworkClass which);
};
