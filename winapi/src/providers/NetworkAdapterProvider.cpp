#include "NetworkAdapterProvider.h"

#include "NetworkInterfaces.h"
#include "PnpDeviceId.h"
#include "SysfsReader.h"

#include <QString>

#include <cwchar>

#include <net/if.h>

using winapi_seam::Value;

namespace {

// "AA:BB:CC:DD:EE:FF"; NULL for no hardware address or an all-zero one.
Value macAddress(const NetworkInterface &interface)
{
    const auto &bytes = interface.hardwareAddress;
    if (bytes.size() != 6 || bytes == std::vector<uint8_t>(6, 0))
        return Value::null();
    const QByteArray raw(reinterpret_cast<const char *>(bytes.data()), 6);
    return Value::text(QString::fromLatin1(raw.toHex(':').toUpper()).toStdWString());
}

int connectionStatus(unsigned int flags)
{
    if (!(flags & IFF_UP))
        return 0; // disconnected
    return (flags & IFF_RUNNING) ? 2 : 7; // connected : media disconnected
}

} // namespace

std::vector<std::wstring> NetworkAdapterProvider::adapterColumns()
{
    return {L"Index",           L"InterfaceIndex",      L"MACAddress", L"Name",
            L"NetConnectionID", L"NetConnectionStatus", L"PNPDeviceID"};
}

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
            // Windows lists software adapters under ROOT\NET.
            wchar_t text[24];
            std::swprintf(text, 24, L"ROOT\\NET\\%04d", rootNumber++);
            pnp = text;
        }
        rows.push_back({Value::int32(interface.index), Value::int32(interface.index),
                        macAddress(interface), Value::text(name), Value::text(name),
                        Value::int32(connectionStatus(interface.flags)), Value::text(pnp)});
    }
    return rows;
}

std::vector<std::wstring> NetworkAdapterProvider::configurationColumns()
{
    return {L"Description", L"Index", L"InterfaceIndex", L"IPAddress", L"IPSubnet", L"MACAddress"};
}

std::vector<Values> NetworkAdapterProvider::configurationRows(int index)
{
    std::vector<Values> rows;
    for (const NetworkInterface &interface : NetworkInterfaces::read(true, index)) {
        const bool none = interface.addresses.empty();
        rows.push_back({Value::text(SysfsReader::widen(interface.name)),
                        Value::int32(interface.index), Value::int32(interface.index),
                        none ? Value::null() : Value::textArray(interface.addresses),
                        none ? Value::null() : Value::textArray(interface.subnets),
                        macAddress(interface)});
    }
    return rows;
}
