#include "wmi/MachineInfo.h"

#include "wmi/BstrText.h"
#include "wmi/ScopedVariant.h"
#include "wmi/WMIConnection.h"

#include <QLocale>

const QRegExp kLinkLocalPattern(QStringLiteral("^169\\.254\\.\\d{1,3}\\.\\d{1,3}$"),
                                Qt::CaseSensitive, QRegExp::RegExp);

namespace {

// Connected adapters with a MAC address that are backed by a device; ROOT
// devices are software adapters.
const QString kAdapterQuery = QStringLiteral(
        "SELECT * FROM Win32_NetworkAdapter WHERE (NetConnectionStatus = 2) AND (MACAddress IS "
        "NOT NULL) AND (NOT (PNPDeviceID LIKE 'ROOT%'))");
const QString kConfigurationQuery =
        QStringLiteral("SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Index = %1");

// The first address of an adapter configuration's "IPAddress" array, if it
// holds one.
bool firstAddress(const WMIObject &configuration, QString *address)
{
    ScopedVariant addresses;
    configuration.get(QStringLiteral("IPAddress"), addresses.ptr());
    if (addresses.type() != (VT_ARRAY | VT_BSTR))
        return false;
    SAFEARRAY *array = addresses.get().parray;
    LONG lower = 0;
    LONG upper = -1;
    if (!array || FAILED(SafeArrayGetLBound(array, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(array, 1, &upper)) || upper < lower)
        return false;
    return bstrElement(array, lower, address);
}

} // namespace

MachineInfo::MachineInfo()
    : connection(std::make_unique<WMIConnection>())
{
    // Without a connection every question is answered empty.
    connection->connect();
}

MachineInfo::~MachineInfo()
{
    connection->close();
    connection.reset();
}

QMap<QString, QString> MachineInfo::localIpAddresses() const
{
    QMap<QString, QString> addresses;
    // A copy of our own: QRegExp keeps its match state in the object.
    QRegExp linkLocal = kLinkLocalPattern;
    const QVector<WMIObject> adapters = connection->query(kAdapterQuery);
    for (const WMIObject &adapter : adapters) {
        ScopedVariant mac;
        adapter.get(QStringLiteral("MACAddress"), mac.ptr());
        const QString macText = mac.type() == VT_BSTR ? fromBstr(mac.get().bstrVal) : QString();

        ScopedVariant index;
        adapter.get(QStringLiteral("Index"), index.ptr());
        // Deliberately the end of the scan, not a skip: the addresses found
        // so far are the answer, as the plug-in has always listed them.
        if (index.type() != VT_I4)
            break;
        const QVector<WMIObject> configurations = connection->query(
                kConfigurationQuery.arg(index.get().lVal, 0, 10, QLatin1Char(' ')));
        if (configurations.isEmpty())
            break; // deliberately the end too, as above

        QString address;
        if (!firstAddress(configurations.first(), &address))
            continue;
        if (linkLocal.exactMatch(address))
            continue;
        addresses.insert(address, macText);
    }
    return addresses;
}

QString MachineInfo::firstRowText(const QString &wql, const QString &property) const
{
    const QVector<WMIObject> rows = connection->query(wql);
    if (rows.isEmpty())
        return QString();
    ScopedVariant value;
    if (!rows.first().get(property, value.ptr()) || value.type() != VT_BSTR)
        return QString();
    return fromBstr(value.get().bstrVal);
}

QString MachineInfo::biosSerialNumber() const
{
    return firstRowText(QStringLiteral("select * from Win32_BIOS where(SerialNumber IS NOT NULL)"),
                        QStringLiteral("SerialNumber"));
}

QString MachineInfo::baseBoardSerialNumber() const
{
    return firstRowText(QStringLiteral(
                                "select * from Win32_BaseBoard where(SerialNumber IS NOT NULL)"),
                        QStringLiteral("SerialNumber"));
}

QString MachineInfo::processorId() const
{
    return firstRowText(QStringLiteral(
                                "SELECT * FROM Win32_Processor WHERE (ProcessorId IS NOT NULL)"),
                        QStringLiteral("ProcessorId"));
}

QString MachineInfo::processorName() const
{
    return firstRowText(QStringLiteral("SELECT * FROM Win32_Processor WHERE (Name IS NOT NULL)"),
                        QStringLiteral("Name"));
}

QString MachineInfo::systemLocaleName() const { return QLocale::system().name(); }

QString MachineInfo::computerName() const
{
    return firstRowText(QStringLiteral("SELECT * FROM Win32_ComputerSystem"),
                        QStringLiteral("Name"));
}

QString MachineInfo::timeZoneCaption() const
{
    return firstRowText(QStringLiteral("select * from Win32_TimeZone"), QStringLiteral("Caption"));
}
