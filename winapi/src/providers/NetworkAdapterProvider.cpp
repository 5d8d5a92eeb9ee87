#include "NetworkAdapterProvider.h"

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
    if (bytes.size() != 6 || bytes == std::vector<uint8_t>(6, 0))
        return Value::null();
    wchar_t text[18];
    for (std::size_t i = 0; i < 6; ++i) {
        text[3 * i] = L"0123456789ABCDEF"[bytes[i] >> 4];
        text[3 * i + 1] = L"0123456789ABCDEF"[bytes[i] & 15];
        text[3 * i + 2] = L':';
    }
    return Value::text(std::wstring(text, 17));
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
    int rootNumber = 0;
    const std::vector<NetworkInterface> interfaces = NetworkInterfaces::read(false);
    const std::vector<std::wstring> devices = PnpDeviceId::forInterfaces(interfaces);
    for (std::size_t i = 0; i < interfaces.size(); ++i) {
        const NetworkInterface &interface = interfaces[i];
        const std::wstring name = SysfsReader::widen(interface.name);
        std::wstring pnp = devices[i];
        if (pnp.empty()) {
            // Windows lists software adapters under ROOT\NET, numbered from
            // 0000 (by hand: std::to_wstring's first call sets up stdio).
            std::wstring number;
            for (int n = rootNumber++; n > 0 || number.size() < 4; n /= 10)
                number.insert(number.begin(), wchar_t(L'0' + n % 10));
            pnp = L"ROOT\\NET\\" + number;
        }
        rows.push_back(row({Value::int32(interface.index), Value::int32(interface.index),
                            macAddress(interface), Value::text(name), Value::text(name),
                            Value::int32(connectionStatus(interface.flags)),
                            Value::text(std::move(pnp))}));
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
