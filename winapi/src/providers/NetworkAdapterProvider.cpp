#include "NetworkAdapterProvider.h"

#include "Digits.h"
#include "NetworkInterfaces.h"
#include "PnpDeviceId.h"
#include "SysfsReader.h"

#include <algorithm>
#include <iterator>

#include <net/if.h>

using winapi_seam::Value;

namespace {

// "AA:BB:CC:DD:EE:FF"; NULL for no hardware address or an all-zero one.
Value macAddress(const NetworkInterface &interface)
{
    const auto &bytes = interface.hardwareAddress;
    if (bytes.size() != 6 || std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return !b; }))
        return Value::null();
    // Written into place: six two-digit texts joined would take a dozen
    // allocations per adapter.
    std::wstring text(17, L':');
    for (std::size_t i = 0; i < 6; ++i) {
        text[3 * i] = digit(bytes[i] >> 4);
        text[3 * i + 1] = digit(bytes[i] & 0xF);
    }
    return Value::text(std::move(text));
}

// The values moved into a row: an initializer list would copy every text.
template<std::size_t N>
Values row(Value (&&values)[N])
{
    return Values(std::make_move_iterator(values), std::make_move_iterator(values + N));
}

int connectionStatus(unsigned int flags)
{
    if (!(flags & IFF_UP))
        return 0; // disconnected
    return (flags & IFF_RUNNING) ? 2 : 7; // connected : media disconnected
}

} // namespace

std::vector<Values> NetworkAdapterProvider::adapterRows()
{
    std::vector<Values> rows;
    unsigned int rootNumber = 0;
    const std::vector<NetworkInterface> interfaces = NetworkInterfaces::read(false);
    std::vector<Value> devices = PnpDeviceId::forInterfaces(interfaces);
    for (std::size_t i = 0; i < interfaces.size(); ++i) {
        const NetworkInterface &interface = interfaces[i];
        const std::wstring name = SysfsReader::widen(interface.name);
        Value pnp = std::move(devices[i]);
        // Windows lists software adapters under ROOT\NET, numbered from 0000.
        if (pnp.isNull())
            pnp = Value::text(L"ROOT\\NET\\" + digits(rootNumber++, 10, 4));
        rows.push_back(row({Value::int32(interface.index), Value::int32(interface.index),
                            macAddress(interface), Value::text(name), Value::text(name),
                            Value::int32(connectionStatus(interface.flags)), std::move(pnp)}));
    }
    return rows;
}

std::vector<Values> NetworkAdapterProvider::configurationRows(int index)
{
    std::vector<Values> rows;
    for (NetworkInterface &interface : NetworkInterfaces::read(true, index)) {
        const bool none = interface.addresses.empty();
        rows.push_back(row({Value::text(SysfsReader::widen(interface.name)),
                            Value::int32(interface.index), Value::int32(interface.index),
                            none ? Value::null() : Value::textArray(std::move(interface.addresses)),
                            none ? Value::null() : Value::textArray(std::move(interface.subnets)),
                            macAddress(interface)}));
    }
    return rows;
}
