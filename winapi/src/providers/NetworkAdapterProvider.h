#pragma once

#include "ClassTable.h"

// Win32_NetworkAdapter and Win32_NetworkAdapterConfiguration: one row per
// kernel network interface of the calling thread's network namespace, read
// afresh for every query (NetworkInterfaces); device identities come from
// sysfs, for interfaces backed by a device only. The properties are those
// the address list and the tests ask for, in ClassCatalog's order.
class NetworkAdapterProvider
{
public:
    static std::vector<Values> adapterRows();
    // `index` > 0: only the interface with that index is read.
    static std::vector<Values> configurationRows(int index);
};
