#include "NetworkAdapterProvider.h"

#include "NetworkInterfaces.h"
#include "PnpDeviceId.h"
#include "SysfsReader.h"

#include <QString>

#include <net/if.h>

using winapi_seam::Row;
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

// Only a device's interface has a speed worth reading; software adapters
// answer NULL without a file being opened.
Value speed(const NetworkInterface &interface)
{
    std::string text;
    if (interface.devicePath.empty() ||
        !SysfsReader::readLine("/sys/class/net/" + interface.name + "/speed", &text))
        return Value::null();
    bool ok = false;
    const qlonglong megabits = QString::fromStdString(text).toLongLong(&ok);
    if (!ok || megabits <= 0)
        return Value::null();
    return Value::text(std::to_wstring(megabits * 1000000));
}

Value textOrNull(const std::string &text)
{
    return text.empty() ? Value::null() : Value::text(SysfsReader::widen(text));
}

} // namespace

std::vector<std::wstring> NetworkAdapterProvider::adapterColumns()
{
    return {L"Caption",     L"Description",     L"DeviceID",
            L"Index",       L"InterfaceIndex",  L"MACAddress",
            L"Name",        L"NetConnectionID", L"NetConnectionStatus",
            L"NetEnabled",  L"PhysicalAdapter", L"PNPDeviceID",
            L"ProductName", L"ServiceName",     L"Speed"};
}

std::vector<Row> NetworkAdapterProvider::adapterRows()
{
    const std::vector<NetworkInterface> interfaces = NetworkInterfaces::read(false);
    std::vector<Row> rows;
    int rootNumber = 0;
    for (const NetworkInterface &interface : interfaces) {
        const std::wstring name = SysfsReader::widen(interface.name);
        std::wstring pnp = PnpDeviceId::forDevice(interface.devicePath);
        const bool physical = !pnp.empty();
        if (!physical) {
            // Windows lists software adapters under ROOT\NET.
            pnp = QStringLiteral("ROOT\\NET\\%1")
                          .arg(rootNumber++, 4, 10, QLatin1Char('0'))
                          .toStdWString();
        }
        const std::string driver = PnpDeviceId::driverName(interface.devicePath);
        const std::wstring caption =
                QStringLiteral("[%1] ").arg(interface.index, 8, 10, QLatin1Char('0')).toStdWString() +
                name;
        rows.push_back({{L"Caption", Value::text(caption)},
                        {L"Description", Value::text(name)},
                        {L"DeviceID", Value::text(std::to_wstring(interface.index))},
                        {L"Index", Value::int32(interface.index)},
                        {L"InterfaceIndex", Value::int32(interface.index)},
                        {L"MACAddress", macAddress(interface)},
                        {L"Name", Value::text(name)},
                        {L"NetConnectionID", Value::text(name)},
                        {L"NetConnectionStatus", Value::int32(connectionStatus(interface.flags))},
                        {L"NetEnabled", Value::boolean(interface.flags & IFF_UP)},
                        {L"PhysicalAdapter", Value::boolean(physical)},
                        {L"PNPDeviceID", Value::text(pnp)},
                        {L"ProductName", Value::text(name)},
                        {L"ServiceName", textOrNull(driver)},
                        {L"Speed", speed(interface)}});
    }
    return rows;
}

std::vector<std::wstring> NetworkAdapterProvider::configurationColumns()
{
    return {L"Caption",   L"Description", L"Index",      L"InterfaceIndex", L"IPAddress",
            L"IPEnabled", L"IPSubnet",    L"MACAddress", L"ServiceName"};
}

std::vector<Row> NetworkAdapterProvider::configurationRows()
{
    const std::vector<NetworkInterface> interfaces = NetworkInterfaces::read(true);
    std::vector<Row> rows;
    for (const NetworkInterface &interface : interfaces) {
        std::vector<std::wstring> addresses;
        std::vector<std::wstring> subnets;
        for (std::size_t i = 0; i < interface.ipv4.size(); ++i) {
            addresses.push_back(SysfsReader::widen(interface.ipv4[i]));
            subnets.push_back(SysfsReader::widen(interface.ipv4Masks[i]));
        }
        for (std::size_t i = 0; i < interface.ipv6.size(); ++i) {
            addresses.push_back(SysfsReader::widen(interface.ipv6[i]));
            subnets.push_back(std::to_wstring(interface.ipv6Prefixes[i]));
        }
        const std::wstring name = SysfsReader::widen(interface.name);
        const std::wstring caption =
                QStringLiteral("[%1] ").arg(interface.index, 8, 10, QLatin1Char('0')).toStdWString() +
                name;
        const bool none = addresses.empty();
        rows.push_back(
                {{L"Caption", Value::text(caption)},
                 {L"Description", Value::text(name)},
                 {L"Index", Value::int32(interface.index)},
                 {L"InterfaceIndex", Value::int32(interface.index)},
                 {L"IPAddress", none ? Value::null() : Value::textArray(addresses)},
                 {L"IPEnabled", Value::boolean((interface.flags & IFF_UP) && !none)},
                 {L"IPSubnet", none ? Value::null() : Value::textArray(subnets)},
                 {L"MACAddress", macAddress(interface)},
                 {L"ServiceName", textOrNull(PnpDeviceId::driverName(interface.devicePath))}});
    }
    return rows;
}
