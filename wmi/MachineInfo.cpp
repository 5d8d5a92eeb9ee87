#include "wmi/MachineInfo.h"

#include "wmi/PropertyValues.h"
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
        const QString macText =
                textProperty(adapter, QStringLiteral("MACAddress")).value_or(QString());
        // Ends the scan, not only this adapter's entry: an adapter that WMI
        // cannot describe makes the rest of its answer suspect, so only the
        // addresses before it are listed.
        const std::optional<qint32> index = int32Property(adapter, QStringLiteral("Index"));
        if (!index)
            break;
        const QVector<WMIObject> configurations =
                connection->query(kConfigurationQuery.arg(*index, 0, 10, QLatin1Char(' ')));
        if (configurations.isEmpty())
            break; // the end too, as above

        // Only the first address of an adapter is offered.
        const QStringList first =
                textArrayProperty(configurations.first(), QStringLiteral("IPAddress"), 1)
                        .value_or(QStringList());
        if (first.isEmpty())
            continue;
        const QString &address = first.first();
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
    return textProperty(rows.first(), property).value_or(QString());
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

QString MachineInfo::systemLocaleName() { return QLocale::system().name(); }

QString MachineInfo::computerName() const
{
    return firstRowText(QStringLiteral("SELECT * FROM Win32_ComputerSystem"),
                        QStringLiteral("Name"));
}

QString MachineInfo::timeZoneCaption() const
{
    return firstRowText(QStringLiteral("select * from Win32_TimeZone"), QStringLiteral("Caption"));
}
