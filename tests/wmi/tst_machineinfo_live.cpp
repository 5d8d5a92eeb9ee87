#include "WmiTestSupport.h"

#include "wmi/MachineInfo.h"

#include <QFileInfo>
#include <QHostAddress>
#include <QNetworkInterface>

namespace {

bool isConnected(const QNetworkInterface &interface)
{
    const auto flags = interface.flags();
    return flags.testFlag(QNetworkInterface::IsUp) &&
            flags.testFlag(QNetworkInterface::IsRunning) &&
            !flags.testFlag(QNetworkInterface::IsLoopBack);
}

// A physical adapter: its sysfs device sits on a PCI or USB bus. Virtual
// adapters (bridges, veth, tunnels) have no device and are left out, as the
// ROOT devices are on Windows.
bool hasPciOrUsbDevice(const QNetworkInterface &interface)
{
    const QFileInfo device(QStringLiteral("/sys/class/net/%1/device").arg(interface.name()));
    const QString target = device.canonicalFilePath();
    return target.contains(QLatin1String("/pci")) || target.contains(QLatin1String("/usb"));
}

QString plainAddress(QHostAddress address)
{
    address.setScopeId(QString());
    return address.toString();
}

bool usable(const QHostAddress &address)
{
    if (address.isLoopback())
        return false;
    return !(address.protocol() == QAbstractSocket::IPv4Protocol && address.isLinkLocal());
}

} // namespace

class tst_MachineInfoLive : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void addressesOfThisMachine();
};

void tst_MachineInfoLive::init() { winapi_seam::reset(); }

void tst_MachineInfoLive::cleanup()
{
    winapi_seam::reset();
    verifyNothingLive();
}

// Guards against listing addresses the machine does not have, loopback or
// link-local ones, a MAC of another adapter, or nothing at all on a machine
// with a connected physical adapter.
void tst_MachineInfoLive::addressesOfThisMachine()
{
    QMap<QString, QString> addresses;
    {
        const MachineInfo info;
        addresses = info.localIpAddresses();
    }
    qInfo() << "listed:" << entries(addresses);

    QHash<QString, QNetworkInterface> owners;
    bool physicalWithAddress = false;
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
        const bool physical = isConnected(interface) && hasPciOrUsbDevice(interface);
        for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
            owners.insert(plainAddress(entry.ip()), interface);
            if (physical && entry.ip().protocol() == QAbstractSocket::IPv4Protocol &&
                usable(entry.ip()))
                physicalWithAddress = true;
        }
    }

    for (auto it = addresses.cbegin(); it != addresses.cend(); ++it) {
        const QHostAddress address(it.key());
        QVERIFY2(!address.isNull(), qPrintable(it.key()));
        QVERIFY2(usable(address), qPrintable(it.key()));
        const QString plain = plainAddress(address);
        QVERIFY2(owners.contains(plain),
                 qPrintable(it.key() + " is not an address of this machine"));
        const QNetworkInterface owner = owners.value(plain);
        QVERIFY2(isConnected(owner), qPrintable(owner.name()));
        QCOMPARE(it.value().toUpper(), owner.hardwareAddress().toUpper());
    }
    if (physicalWithAddress)
        QVERIFY2(!addresses.isEmpty(), "a connected physical adapter has an address");
}

QTEST_GUILESS_MAIN(tst_MachineInfoLive)
#include "tst_machineinfo_live.moc"
