// The network classes answered from this machine: checked against what Qt
// sees on the host and, when running as root, against a network namespace
// this test builds with known interfaces and addresses.
#include "TestNamespace.h"
#include "WinapiTestSupport.h"

#include <QNetworkInterface>
#include <QRegularExpression>

#include <memory>

namespace {

using Row = ProbeRow;

// "[a|b]" -> {a, b}; "null" -> {}.
QStringList arrayItems(const QString &described)
{
    if (!described.startsWith('[') || described.size() < 3)
        return {};
    return described.mid(1, described.size() - 2).split('|');
}

} // namespace

class tst_NetworkClasses : public QObject
{
    Q_OBJECT

private slots:
    void init() { winapi_seam::reset(); }
    void cleanup()
    {
        winapi_seam::reset();
        verifyNothingLive();
    }
    void cleanupTestCase() { m_namespace.reset(); }

    void adaptersMatchQt();
    void namespaceAdapters_data();
    void namespaceAdapters();

private:
    bool prepareNamespace(QString *reason);

    std::unique_ptr<TestNamespace> m_namespace;
    QString m_skipReason;
    QString m_failure;
    QMap<QString, Row> m_adapters; // by NetConnectionID
    QMap<QString, Row> m_configurations; // by Index
    int m_filteredAdapters = -1;
};

// Guards against interfaces missing or doubled, indexes that do not join the
// two network classes, and MAC addresses or states read wrongly, using Qt's
// own view of the interfaces as the reference.
void tst_NetworkClasses::adaptersMatchQt()
{
    const QList<Row> adapters = queryHere("SELECT * FROM Win32_NetworkAdapter");
    const QList<Row> configurations = queryHere("SELECT * FROM Win32_NetworkAdapterConfiguration");
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    QCOMPARE(adapters.size(), interfaces.size());
    QCOMPARE(configurations.size(), interfaces.size());

    for (const QNetworkInterface &interface : interfaces) {
        const QString index = QStringLiteral("i:%1").arg(interface.index());
        const auto adapter = std::find_if(adapters.begin(), adapters.end(), [&](const Row &row) {
            return row.value("InterfaceIndex") == index;
        });
        QVERIFY2(adapter != adapters.end(), qPrintable(interface.name()));
        QCOMPARE(adapter->value("Index"), index);
        QCOMPARE(adapter->value("DeviceID"), "'" + QString::number(interface.index()) + "'");
        QCOMPARE(adapter->value("NetConnectionID"), "'" + interface.name() + "'");

        QString mac = interface.hardwareAddress().toUpper();
        if (mac.isEmpty() || mac == QLatin1String("00:00:00:00:00:00") || mac.size() != 17)
            mac = QStringLiteral("null");
        else
            mac = "'" + mac + "'";
        QCOMPARE(adapter->value("MACAddress"), mac);

        const auto flags = interface.flags();
        const int status = !flags.testFlag(QNetworkInterface::IsUp) ? 0
                : flags.testFlag(QNetworkInterface::IsRunning)      ? 2
                                                                    : 7;
        QCOMPARE(adapter->value("NetConnectionStatus"), QStringLiteral("i:%1").arg(status));
        const QString pnp = adapter->value("PNPDeviceID");
        QVERIFY2(QRegularExpression(R"(^'(ROOT\\NET\\\d{4}|PCI\\VEN_[0-9A-F]{4}&DEV_[0-9A-F]{4})"
                                    R"(&SUBSYS_[0-9A-F]{8}&REV_[0-9A-F]{2}\\.+|USB\\VID_[0-9A-F]{4})"
                                    R"(&PID_[0-9A-F]{4}\\.+)'$)")
                         .match(pnp)
                         .hasMatch(),
                 qPrintable(pnp));
        QCOMPARE(adapter->value("PhysicalAdapter"),
                 pnp.startsWith("'ROOT") ? QStringLiteral("b:false") : QStringLiteral("b:true"));

        const auto configuration =
                std::find_if(configurations.begin(), configurations.end(),
                             [&](const Row &row) { return row.value("Index") == index; });
        QVERIFY(configuration != configurations.end());
        QCOMPARE(configuration->value("MACAddress"), mac);
        QStringList expected;
        for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                expected << entry.ip().toString();
        }
        QStringList ipv4;
        for (const QString &address : arrayItems(configuration->value("IPAddress"))) {
            QVERIFY2(!address.contains('%'), qPrintable(address));
            if (address.contains('.'))
                ipv4 << address;
        }
        expected.sort();
        ipv4.sort();
        QCOMPARE(ipv4, expected);
    }
}
void tst_NetworkClasses::namespaceAdapters_data()
{
    QTest::addColumn<QString>("interface");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<QString>("mac");
    QTest::addColumn<QStringList>("ipv4");
    QTest::addColumn<QStringList>("masks");
    QTest::addColumn<QString>("ipv6");

    using L = QStringList;
    const QString any = "*";
    // clang-format off
    QTest::newRow("normal IPv4, two addresses") << "uwa0" << "i:2" << "b:true" << "'02:00:5E:00:0A:01'" << L{"192.0.2.10", "192.0.2.11"} << L{"255.255.255.0", "255.255.255.0"} << "";
    QTest::newRow("link-local IPv4") << "uwc0" << "i:2" << "b:true" << "'02:00:5E:00:0C:01'" << L{"169.254.7.8"} << L{"255.255.0.0"} << "";
    QTest::newRow("IPv6 only") << "uwe0" << "i:2" << "b:true" << any << L{} << L{} << "2001:db8::5";
    QTest::newRow("administratively down") << "uwg0" << "i:0" << "b:false" << any << L{"198.51.100.3"} << L{"255.255.255.0"} << "";
    QTest::newRow("up without carrier") << "uwi0" << "i:7" << "b:true" << any << L{} << L{} << "";
    QTest::newRow("loopback, down") << "lo" << "i:0" << "b:false" << "null" << L{} << L{} << "";
    // clang-format on
}

// Guards against wrong connection states, MAC formatting, address order
// (IPv4 first, in kernel order, then IPv6 without zone), subnet forms, and
// virtual adapters not being under ROOT, on interfaces made for the test.
void tst_NetworkClasses::namespaceAdapters()
{
    QFETCH(QString, interface);
    QFETCH(QString, status);
    QFETCH(QString, enabled);
    QFETCH(QString, mac);
    QFETCH(QStringList, ipv4);
    QFETCH(QStringList, masks);
    QFETCH(QString, ipv6);

    QString reason;
    if (!prepareNamespace(&reason))
        QSKIP(qPrintable(reason));
    QVERIFY2(m_failure.isEmpty(), qPrintable(m_failure));

    QVERIFY2(m_adapters.contains(interface), qPrintable(m_adapters.keys().join(',')));
    const Row adapter = m_adapters.value(interface);
    QCOMPARE(adapter.value("NetConnectionStatus"), status);
    QCOMPARE(adapter.value("NetEnabled"), enabled);
    if (mac != "*")
        QCOMPARE(adapter.value("MACAddress"), mac);
    QVERIFY2(adapter.value("PNPDeviceID").startsWith("'ROOT\\NET\\"),
             qPrintable(adapter.value("PNPDeviceID")));
    QCOMPARE(adapter.value("PhysicalAdapter"), QStringLiteral("b:false"));
    QCOMPARE(adapter.value("DeviceID"), "'" + adapter.value("Index").mid(2) + "'");

    QVERIFY(m_configurations.contains(adapter.value("Index")));
    const Row configuration = m_configurations.value(adapter.value("Index"));
    QCOMPARE(configuration.value("MACAddress"), adapter.value("MACAddress"));
    const QStringList addresses = arrayItems(configuration.value("IPAddress"));
    const QStringList subnets = arrayItems(configuration.value("IPSubnet"));
    QCOMPARE(addresses.size(), subnets.size());
    if (addresses.isEmpty())
        QCOMPARE(configuration.value("IPAddress"), QStringLiteral("null"));
    QCOMPARE(addresses.mid(0, ipv4.size()), ipv4);
    QCOMPARE(subnets.mid(0, masks.size()), masks);
    for (int i = ipv4.size(); i < addresses.size(); ++i) {
        QVERIFY2(addresses.at(i).contains(':') && !addresses.at(i).contains('%'),
                 qPrintable(addresses.join(',')));
        QVERIFY2(QRegularExpression("^\\d{1,3}$").match(subnets.at(i)).hasMatch(),
                 qPrintable(subnets.join(',')));
    }
    if (!ipv6.isEmpty())
        QVERIFY2(addresses.contains(ipv6), qPrintable(addresses.join(',')));

    // The adapter's own object path finds the same adapter.
    const QList<Row> byPath = m_namespace->query("Win32_NetworkAdapter.DeviceID=\"" +
                                                 adapter.value("Index").mid(2) + "\"");
    QCOMPARE(byPath.size(), 1);
    QCOMPARE(byPath.first(), adapter);

    // The address list's adapter filter leaves every one of these out: they
    // are all virtual, as Windows would list them under ROOT.
    QCOMPARE(m_filteredAdapters, 0);
}

bool tst_NetworkClasses::prepareNamespace(QString *reason)
{
    if (m_namespace) {
        *reason = m_skipReason;
        return m_skipReason.isEmpty();
    }
    m_namespace = std::make_unique<TestNamespace>();
    if (!m_namespace->create(&m_skipReason)) {
        *reason = m_skipReason;
        return false;
    }
    m_failure = m_namespace->failure();
    if (!m_failure.isEmpty())
        return true;
    QString error;
    for (const Row &row : m_namespace->query("SELECT * FROM Win32_NetworkAdapter", &error)) {
        const QString id = row.value("NetConnectionID");
        m_adapters.insert(id.mid(1, id.size() - 2), row);
    }
    for (const Row &row : m_namespace->query("SELECT * FROM Win32_NetworkAdapterConfiguration"))
        m_configurations.insert(row.value("Index"), row);
    m_filteredAdapters = m_namespace
                                 ->query("SELECT * FROM Win32_NetworkAdapter WHERE "
                                         "(NetConnectionStatus = 2) AND (MACAddress IS NOT NULL) "
                                         "AND (NOT (PNPDeviceID LIKE 'ROOT%'))")
                                 .size();
    if (m_adapters.isEmpty())
        m_failure = "the probe gave no adapters: " + error;
    return true;
}
QTEST_GUILESS_MAIN(tst_NetworkClasses)
#include "tst_networkclasses.moc"
